// Reads what the structure page shows from the model kernel. Every failing kernel call raises
// a LibraryError (check); the model is only read.
#pragma once

#include "export/structure_contents.h"

#include <windows.h>

#include <wrl/client.h>
#include <zkernel.h>

#include <cstddef>
#include <vector>

namespace kv::html {

// The outline of the page (model name, counts, class names and links, filters) is read at
// once; a class's attributes only when asked for, so that a large structure's attributes are
// never all held at the same time.
class StructureReader {
public:
    explicit StructureReader(IZModel& model);

    // The contents without any class's attributes.
    const StructureContents& outline() const { return outline_; }

    // The attribute entries of the class at the position, read now; valid until the next call.
    const std::vector<AttributeEntry>& AttributesOf(std::size_t position);

private:
    struct ClassObject {
        Microsoft::WRL::ComPtr<IZClass> object;
        long attribute_count;
    };

    StructureContents outline_;
    std::vector<ClassObject> classes_; // by position
    std::vector<AttributeEntry> attributes_;
};

} // namespace kv::html
