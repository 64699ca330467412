// The plain exports the host calls: stdcall, one-byte boolean result, interface arguments by
// reference (the address of the caller's variable), 8-bit strings (null = ""), booleans in
// 32-bit slots of which the low byte counts (export_arguments.h). Each export is one barrier:
// no exception crosses the library boundary; an error returns false with the thread's error
// information set.
#include "entry/export_arguments.h"
#include "entry/library_startup.h"

#include "comparison/difference_exports.h"
#include "execution/script_runner.h"
#include "export/html_export.h"
#include "platform/barriers.h"
#include "platform/text_conversion.h"
#include "recording/attribute_fragments.h"
#include "recording/class_fragments.h"
#include "recording/recording_session.h"
#include "recording/structure_fragments.h"
#include "recording/whole_fragment.h"

#include <windows.h>

#include <zkernel.h>

namespace kv {
namespace {

template <class Body> ExportBool RunExport(Body&& body) noexcept {
    return ExportBarrier([&] {
        StartLibraryOnce();
        return body();
    });
}

// A fragment export: the fragment is appended whole or not at all.
template <class Body> ExportBool RunFragmentExport(Body&& body) noexcept {
    return RunExport([&] { return AsWholeFragment(body); });
}

// A name from the host (8-bit text in the ANSI code page) as the fragments take names: wide,
// as the kernel holds them.
std::wstring NameArgument(const char* text) {
    return WideFromAnsi(TextArgument(text));
}

} // namespace
} // namespace kv

// The exports are the library's C face; everything they call lives in kv.
using namespace kv;

extern "C" {

// Recording session.

ExportBool __stdcall scriptStart(IZModel** model) {
    return RunExport([&] { return kv::scriptStart(model ? *model : nullptr); });
}

ExportBool __stdcall scriptEnd(HWND owner, const char* file_name, IZModel** model) {
    return RunExport([&] { return kv::scriptEnd(owner, TextArgument(file_name), model); });
}

// Class and attribute fragments.

ExportBool __stdcall scriptClass(IZClass** cls, const char* name, BoolSlot attribute_rights,
                                 BoolSlot links, BoolSlot filters, BoolSlot update_only) {
    return RunFragmentExport([&] {
        const kv::ClassFragmentOptions options{
            .attributeRights = BoolArgument(attribute_rights),
            .links = BoolArgument(links),
            .filters = BoolArgument(filters),
            .updateOnly = BoolArgument(update_only),
        };
        return kv::scriptClass(cls ? *cls : nullptr, NameArgument(name), options);
    });
}

ExportBool __stdcall scriptClsRemove(const char* class_name) {
    return RunFragmentExport([&] { return kv::scriptClsRemove(NameArgument(class_name)); });
}

ExportBool __stdcall scriptClassValue(IZClassValue** cval, const char* name,
                                      BoolSlot only_if_missing) {
    return RunFragmentExport([&] {
        return kv::scriptClassValue(cval ? *cval : nullptr, NameArgument(name),
                                    BoolArgument(only_if_missing));
    });
}

ExportBool __stdcall scriptCValMove(IZClassValue** cval, IZClassValue** other) {
    return RunFragmentExport(
        [&] { return kv::scriptCValMove(cval ? *cval : nullptr, other ? *other : nullptr); });
}

ExportBool __stdcall scriptCValRemoveName(const char* attribute_name, const char* class_name) {
    return RunFragmentExport([&] {
        return kv::scriptCValRemoveName(NameArgument(attribute_name), NameArgument(class_name));
    });
}

ExportBool __stdcall scriptCValRemove(IZClassValue** cval) {
    return RunFragmentExport([&] { return kv::scriptCValRemove(cval ? *cval : nullptr); });
}

// Filter, constraint, security, module and link fragments.

ExportBool __stdcall scriptClassLink(const char* parent_class, const char* child_class,
                                     BoolSlot remove) {
    return RunFragmentExport([&] {
        return kv::scriptClassLink(NameArgument(parent_class), NameArgument(child_class),
                                   BoolArgument(remove));
    });
}

ExportBool __stdcall scriptModule(IZClassVector** cvec, const char* module_name, BoolSlot remove) {
    return RunFragmentExport([&] {
        return kv::scriptModule(cvec ? *cvec : nullptr, NameArgument(module_name),
                                BoolArgument(remove));
    });
}

ExportBool __stdcall scriptSecurity(IZModel** model, const char* group_id) {
    return RunFragmentExport(
        [&] { return kv::scriptSecurity(model ? *model : nullptr, NameArgument(group_id)); });
}

ExportBool __stdcall scriptConstraint(const char* filter_name, const char* class_name,
                                      BoolSlot remove) {
    return RunFragmentExport([&] {
        return kv::scriptConstraint(NameArgument(filter_name), NameArgument(class_name),
                                    BoolArgument(remove));
    });
}

ExportBool __stdcall scriptFilter(IZFilterVector** filters, const char* filter_name,
                                  BoolSlot remove_only, BoolSlot new_filter) {
    return RunFragmentExport([&] {
        return kv::scriptFilter(filters ? *filters : nullptr, NameArgument(filter_name),
                                BoolArgument(remove_only), BoolArgument(new_filter));
    });
}

// Running scenarios.

ExportBool __stdcall scriptExecute(HWND owner, IZModel** model, const char* file_name) {
    return RunExport([&] { return kv::ScriptExecute(owner, model, file_name); });
}

// Difference scenario: with the dialog, and for a given structure file without one.

ExportBool __stdcall scriptDifference(IZModel** model, HWND owner) {
    return RunExport([&] { return kv::scriptDifference(model ? *model : nullptr, owner); });
}

ExportBool __stdcall scriptDifferenceFile(IZModel** model, const char* structure_file) {
    return RunExport([&] {
        return kv::scriptDifferenceFile(model ? *model : nullptr, TextArgument(structure_file));
    });
}

// HTML export: with the dialog and the shell's "open", and to a given file without them.

ExportBool __stdcall SaveAsHTML(IZModel** model, HWND owner) {
    return RunExport([&] { return kv::html::SaveStructurePageWithDialog(model, owner); });
}

ExportBool __stdcall SaveAsHTMLFile(IZModel** model, const char* output_file) {
    return RunExport(
        [&] { return kv::html::SaveStructurePageToFile(model, TextArgument(output_file)); });
}

} // extern "C"
