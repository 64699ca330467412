// The parents of the classes of one class vector, for the parents block of a class fragment:
// every class of the vector that has the recorded class among its children, in the vector's
// order. Asking every class about every class recorded makes a whole recording quadratic, so
// the links are read once, as each class's children, and kept while they can be trusted.
//
// Link changes come as link events, on which the owner calls Invalidate. Removing a class
// removes its links without an event, and loading another structure changes them all, so
// before each use the vector's classes are checked against the ones read: the kernel appends a
// new class and removes one without reordering the others, so the count and the last class
// (held, so its identity cannot pass to another object) show any change of the classes.
#pragma once

#include <windows.h>
#include <unknwn.h>
#include <wrl/client.h>

#include <zkernel.h>

#include <cstddef>
#include <optional>
#include <unordered_map>
#include <vector>

namespace kv {

class ParentLinks {
public:
    using ClassList = std::vector<Microsoft::WRL::ComPtr<IZClass>>;

    // The classes that have cls among their children, in the vector's order; nothing when cls
    // is not a class of the vector, in which case the caller asks every class itself.
    std::optional<ClassList> ParentsOf(IZClassVector* vector, IZClass* cls);

    // A link changed: the links are read again on the next use.
    void Invalidate() noexcept;

private:
    bool Current(IZClassVector* vector) const;
    void Read(IZClassVector* vector);

    bool read_ = false;
    // The vector's classes as read, in its order; held, so that the identities below stay theirs.
    ClassList classes_;
    IUnknown* last_ = nullptr; // the identity of the last of them
    // Each class's position in classes_, and the positions of its parents, by COM identity.
    std::unordered_map<IUnknown*, std::size_t> positions_;
    std::unordered_map<IUnknown*, std::vector<std::size_t>> parents_;
};

} // namespace kv
