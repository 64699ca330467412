#include "recording/parent_links.h"

#include "kernel/kernel_reads.h"
#include "platform/barriers.h"

namespace kv {
namespace {

// The COM identity of a kernel object, valid while the object lives.
IUnknown* IdentityOf(IUnknown* object) {
    ComPtr<IUnknown> identity;
    check(object->QueryInterface(IID_PPV_ARGS(&identity)));
    return identity.Get();
}

LONG ClassCount(IZClassVector* vector) {
    LONG count = 0;
    check(vector->get_zrCount(&count));
    return count;
}

} // namespace

std::optional<ParentLinks::ClassList> ParentLinks::ParentsOf(IZClassVector* vector, IZClass* cls) {
    if (!Current(vector))
        Read(vector);
    IUnknown* const identity = IdentityOf(cls);
    if (!positions_.contains(identity))
        return std::nullopt;
    ClassList parents;
    if (const auto found = parents_.find(identity); found != parents_.end())
        for (const std::size_t position : found->second)
            parents.push_back(classes_[position]);
    return parents;
}

void ParentLinks::Invalidate() noexcept {
    read_ = false;
    positions_.clear();
    parents_.clear();
    last_ = nullptr;
    classes_.clear();
}

bool ParentLinks::Current(IZClassVector* vector) const {
    if (!read_)
        return false;
    const LONG count = ClassCount(vector);
    if (count < 0 || static_cast<std::size_t>(count) != classes_.size())
        return false;
    if (count == 0)
        return true;
    ComPtr<IZClass> last;
    check(vector->zrItem(count - 1, &last));
    return last && IdentityOf(last.Get()) == last_;
}

void ParentLinks::Read(IZClassVector* vector) {
    Invalidate();
    const LONG count = ClassCount(vector);
    for (LONG i = 0; i < count; ++i) {
        ComPtr<IZClass> cls;
        check(vector->zrItem(i, &cls));
        cls = Required(std::move(cls), L"zrItem");
        positions_.emplace(IdentityOf(cls.Get()), classes_.size());
        classes_.push_back(std::move(cls));
    }
    for (std::size_t parent = 0; parent < classes_.size(); ++parent) {
        LONG children = 0;
        check(classes_[parent]->get_zrChildClassesCount(&children));
        for (LONG j = 0; j < children; ++j) {
            ComPtr<IZClass> child;
            check(classes_[parent]->zriChildClassItem(j, &child));
            // Only classes of the vector: their identities are held by classes_.
            if (!child || !positions_.contains(IdentityOf(child.Get())))
                continue;
            std::vector<std::size_t>& parents = parents_[IdentityOf(child.Get())];
            if (parents.empty() || parents.back() != parent)
                parents.push_back(parent);
        }
    }
    last_ = classes_.empty() ? nullptr : IdentityOf(classes_.back().Get());
    read_ = true;
}

} // namespace kv
