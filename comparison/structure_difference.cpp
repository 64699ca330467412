#include "comparison/structure_difference.h"

#include "comparison/difference_reads.h"
#include "comparison/difference_text.h"
#include "kernel/kernel_reads.h"
#include "platform/scenario_text.h"
#include "recording/attribute_fragments.h"
#include "recording/class_fragments.h"
#include "recording/fragment_writer.h"
#include "recording/structure_fragments.h"
#include "text/scenario_templates.h"

#include <utility>

namespace kv {
namespace {

// The kernel's texts in the difference's statements, every character carried.
const TextWriters kScenarioWriters{ScenarioLiteral, ScenarioCodeLiteral};

void Append(ScriptItems items) {
    for (std::string& item : items)
        ScriptBuffer->push_back(std::move(item));
}

void AppendItem(std::string item) {
    ScriptBuffer->push_back(std::move(item));
}

ComPtr<IZFilterVector> FiltersOf(IZClassVector* vector) {
    ComPtr<IZFilterVector> filters;
    check(vector->QueryInterface(IID_PPV_ARGS(&filters)));
    return Required(std::move(filters), L"IZFilterVector");
}

// A count the kernel reads, e.g. CountOf(cls, &IZClass::get_zrClassValuesCount).
template <class Object>
LONG CountOf(Object* object, HRESULT (STDMETHODCALLTYPE Object::*get)(LONG*)) {
    LONG count = 0;
    check((object->*get)(&count));
    return count;
}

LONG AttributeCount(IZClass* cls) {
    return CountOf(cls, &IZClass::get_zrClassValuesCount);
}

ComPtr<IZClassValue> AttributeAt(IZClass* cls, LONG index) {
    ComPtr<IZClassValue> cval;
    check(cls->zriClassValueItem(index, &cval));
    return Required(std::move(cval), L"zriClassValueItem");
}

Bstr WideNameOf(IZClassValue* cval) {
    Bstr name;
    check(cval->get_zrName(name.Out()));
    return name;
}

LONG ChildCount(IZClass* cls) {
    return CountOf(cls, &IZClass::get_zrChildClassesCount);
}

// The child at the position; null where the kernel gives no class there.
ComPtr<IZClass> ChildAt(IZClass* cls, LONG index) {
    ComPtr<IZClass> child;
    check(cls->zriChildClassItem(index, &child));
    return child;
}

bool HasChild(IZClass* cls, BSTR name) {
    ComPtr<IZClass> child;
    check(cls->zrnChildClassItem(name, &child));
    return child != nullptr;
}

// The children of `cls` that `other` lacks, as statements made by `statement`.
template <class Statement>
ScriptItems ChildrenMissingFrom(IZClass* cls, IZClass* other, Statement statement) {
    ScriptItems statements;
    const LONG count = ChildCount(cls);
    for (LONG i = 0; i < count; ++i) {
        const ComPtr<IZClass> child = ChildAt(cls, i);
        if (!child)
            continue;
        Bstr name;
        check(child->get_zrName(name.Out()));
        if (!HasChild(other, name.Get()))
            statements.push_back(statement(ScenarioName(name.View())));
    }
    return statements;
}

ClassParameters ReadClassParameters(IZClass* cls) {
    ClassParameters parameters;
    parameters.screenName = KernelText(cls, &IZClass::get_zrScreenName);
    parameters.blocked = KernelBool(cls, &IZClass::get_zrBlocked);
    return parameters;
}

bool InheritedEntry(IZClassValue* cval) {
    ComPtr<IZClassValue> source;
    check(cval->get_zrInheritedFrom(&source));
    return source != nullptr;
}

bool FilterExists(IZFilterVector* filters, BSTR name) {
    VARIANT_BOOL exists = VARIANT_FALSE;
    check(filters->zrFilterExists(name, &exists));
    return exists != VARIANT_FALSE;
}

// The constraints of filter `name` in `filters` that the same filter of `other` lacks, as
// statements made by `statement`.
template <class Statement>
void ConstraintsMissingFrom(IZFilterVector* filters, IZFilterVector* other, BSTR name,
                            ScriptItems& statements, Statement statement) {
    const PlacedName filterName = ScenarioName({name, SysStringLen(name)});
    LONG count = 0;
    check(filters->zrConstraintsCount(name, &count));
    for (LONG j = 0; j < count; ++j) {
        Bstr value;
        check(filters->zrConstraintItem(name, j, value.Out()));
        VARIANT_BOOL exists = VARIANT_FALSE;
        check(other->zrConstraintExists(name, value.Get(), &exists));
        if (exists == VARIANT_FALSE)
            statements.push_back(statement(filterName, ScenarioName(value.View())));
    }
}

std::vector<Bstr> FilterNames(IZFilterVector* filters) {
    const LONG count = CountOf(filters, &IZFilterVector::get_zrFiltersCount);
    std::vector<Bstr> names;
    names.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
    for (LONG i = 0; i < count; ++i) {
        names.emplace_back();
        check(filters->zrFilterName(i, names.back().Out()));
    }
    return names;
}

// One call of the difference: both structures, their classes paired once, and the sections.
class DifferenceWriter {
public:
    DifferenceWriter(IZModel* current, IZModel* target)
        : target_(target), currentVector_(ClassVectorOf(current)),
          targetVector_(ClassVectorOf(target)), currentFilters_(FiltersOf(currentVector_.Get())),
          targetFilters_(FiltersOf(targetVector_.Get())), targetSecurity_(LocalSecurityOf(target)) {
        DifferenceMode = true;
        currentClasses_ = ReadClasses(currentVector_.Get());
        targetClasses_ = ReadClasses(targetVector_.Get());
        PairClasses(targetClasses_, currentClasses_);
    }

    void WriteSections() {
        WriteSection(DifferenceSection::MissingClasses, &DifferenceWriter::MissingClasses);
        WriteSection(DifferenceSection::ClassParameters, &DifferenceWriter::ClassParameters);
        WriteSection(DifferenceSection::RemovedClasses, &DifferenceWriter::RemovedClasses);
        WriteSection(DifferenceSection::ChildLinks, &DifferenceWriter::ChildLinks);
        WriteSection(DifferenceSection::RemovedChildLinks, &DifferenceWriter::RemovedChildLinks);
        WriteSection(DifferenceSection::NewAttributes, &DifferenceWriter::NewAttributes);
        WriteSection(DifferenceSection::RemovedAttributes, &DifferenceWriter::RemovedAttributes);
        WriteSection(DifferenceSection::AttributeParameters,
                     &DifferenceWriter::AttributeParameters);
        WriteSection(DifferenceSection::NewFilters, &DifferenceWriter::NewFilters);
        WriteSection(DifferenceSection::RemovedFilters, &DifferenceWriter::RemovedFilters);
        WriteSection(DifferenceSection::Rights, &DifferenceWriter::Rights);
    }

private:
    void WriteSection(DifferenceSection section, void (DifferenceWriter::*body)()) {
        AppendItem(std::string(SectionBeginLine(section)));
        (this->*body)();
        AppendItem(std::string(SectionEndLine(section)));
        WriteEmptyItem();
    }

    // Classes that only the target has, complete with their own attributes.
    void MissingClasses() {
        for (const PairedClass& target : targetClasses_)
            if (!target.partner)
                scriptClass(target.cls.Get(), L"", {});
    }

    void ClassParameters() {
        for (const PairedClass& target : targetClasses_) {
            if (!target.partner)
                continue;
            Append(ClassBlock(target.name, ClassParameterStatements(
                                               ReadClassParameters(target.cls.Get()),
                                               ReadClassParameters(target.partner->cls.Get()),
                                               kScenarioWriters)));
        }
    }

    void RemovedClasses() {
        for (const PairedClass& current : currentClasses_)
            if (!current.partner)
                scriptClsRemove(current.wideName.View());
    }

    // Every child link of a class that only the target has; the links a common class lacks.
    void ChildLinks() {
        for (const PairedClass& target : targetClasses_) {
            IZClass* cls = target.cls.Get();
            if (target.partner) {
                Append(ClassBlock(target.name, ChildrenMissingFrom(cls, target.partner->cls.Get(),
                                                                   AddChildStatement)));
                continue;
            }
            const LONG count = ChildCount(cls);
            if (count > 0)
                Write(tplAddClass, {target.name.literal});
            for (LONG i = 0; i < count; ++i)
                if (const ComPtr<IZClass> child = ChildAt(cls, i))
                    AppendItem(AddChildStatement(ScenarioName(NameOf(child.Get()))));
            WriteEmptyItem();
        }
    }

    void RemovedChildLinks() {
        for (const PairedClass& current : currentClasses_) {
            if (current.partner)
                Append(ClassBlock(current.name,
                                  ChildrenMissingFrom(current.cls.Get(), current.partner->cls.Get(),
                                                      RemoveChildStatement)));
        }
    }

    // Attributes that a common class lacks, each moved behind the attribute that precedes it in
    // the target. An inherited one is carried by its base class: neither its fragment nor a move,
    // which would act on whatever the previous fragment left in the scenario's variables.
    void NewAttributes() {
        for (const PairedClass& target : targetClasses_) {
            if (!target.partner)
                continue;
            IZClass* current = target.partner->cls.Get();
            const LONG count = AttributeCount(target.cls.Get());
            Bstr preceding;
            for (LONG j = 0; j < count; ++j) {
                const ComPtr<IZClassValue> cval = AttributeAt(target.cls.Get(), j);
                Bstr name = WideNameOf(cval.Get());
                if (!FindAttribute(current, name.Get()) &&
                    scriptClassValue(cval.Get(), name.View(), false)) {
                    AppendItem(MoveAttributeAfterStatement(ScenarioName(preceding.View())));
                    WriteEmptyItem();
                }
                preceding = std::move(name);
            }
        }
    }

    void RemovedAttributes() {
        for (const PairedClass& current : currentClasses_) {
            if (!current.partner)
                continue;
            const LONG count = AttributeCount(current.cls.Get());
            for (LONG j = 0; j < count; ++j) {
                const ComPtr<IZClassValue> cval = AttributeAt(current.cls.Get(), j);
                if (!FindAttribute(current.partner->cls.Get(), WideNameOf(cval.Get()).Get()))
                    scriptCValRemove(cval.Get());
            }
        }
    }

    // Own attributes of common classes whose compared parameters or properties differ.
    void AttributeParameters() {
        for (const PairedClass& target : targetClasses_) {
            if (!target.partner)
                continue;
            const LONG count = AttributeCount(target.cls.Get());
            for (LONG j = 0; j < count; ++j) {
                const ComPtr<IZClassValue> cval = AttributeAt(target.cls.Get(), j);
                const ComPtr<IZClassValue> other =
                    FindAttribute(target.partner->cls.Get(), WideNameOf(cval.Get()).Get());
                if (!other || InheritedEntry(cval.Get()))
                    continue;
                ScriptItems statements = AttributeParameterStatements(
                    ReadAttributeParameters(cval.Get()), ReadAttributeParameters(other.Get()),
                    kScenarioWriters);
                const ScriptItems properties = PropertyDifferences(cval.Get(), other.Get());
                if (statements.empty() && properties.empty())
                    continue;
                Append(AttributeBlock(target.partner->name, ScenarioName(NameOf(other.Get())),
                                      std::move(statements), properties));
            }
        }
    }

    // Filters that only the target has are created whole; the constraint changes of common
    // filters follow all of them in one block.
    void NewFilters() {
        ScriptItems statements;
        for (const Bstr& name : FilterNames(targetFilters_.Get())) {
            if (!FilterExists(currentFilters_.Get(), name.Get())) {
                scriptFilter(targetFilters_.Get(), name.View(), false, false);
                continue;
            }
            ConstraintsMissingFrom(targetFilters_.Get(), currentFilters_.Get(), name.Get(),
                                   statements, AddConstraintStatement);
            ConstraintsMissingFrom(currentFilters_.Get(), targetFilters_.Get(), name.Get(),
                                   statements, RemoveConstraintStatement);
        }
        if (statements.empty())
            return;
        Write(tplFilterVectorVar);
        AppendItem(JoinedText(statements));
    }

    void RemovedFilters() {
        for (const Bstr& name : FilterNames(currentFilters_.Get()))
            if (!FilterExists(targetFilters_.Get(), name.Get()))
                scriptFilter(currentFilters_.Get(), name.View(), true, false);
    }

    // The rights of every user group of the target, on every class and attribute.
    void Rights() {
        LONG group = 0;
        check(targetSecurity_->zrNextGroup(0, &group));
        while (group != 0) {
            scriptSecurity(target_, GroupIdentifier(targetSecurity_.Get(), group));
            LONG next = 0;
            check(targetSecurity_->zrNextGroup(group, &next));
            group = next;
        }
    }

    IZModel* target_;
    ComPtr<IZClassVector> currentVector_;
    ComPtr<IZClassVector> targetVector_;
    ComPtr<IZFilterVector> currentFilters_;
    ComPtr<IZFilterVector> targetFilters_;
    ComPtr<IZLocalSecurity> targetSecurity_;
    std::vector<PairedClass> currentClasses_;
    std::vector<PairedClass> targetClasses_;
};

} // namespace

void WriteStructureDifference(IZModel* current, IZModel* target) {
    DifferenceWriter(current, target).WriteSections();
}

} // namespace kv
