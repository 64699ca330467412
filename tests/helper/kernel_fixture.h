// A model of the kernel stand-in ("zkernel.ZModel") with the reads the helper's tests check:
// rights, identifiers, data type and diagram position, read independently of the library.
#pragma once

#include <windows.h>

#include "support/reference_count.h"
#include "support/stand_in_model.h"

#include <zkernel.h>
#include <wrl/client.h>

#include <optional>
#include <string>

using Microsoft::WRL::ComPtr;

class KernelModel {
public:
    KernelModel(); // a new, empty model; fails the test when the kernel cannot be created
    bool Created() const { return model_.has_value(); }

    IZModel* Model() const { return model_->Get(); }
    IZLocalSecurity* Security() const { return security_.Get(); }
    ComPtr<IZClass> AddClass(const wchar_t* name) { return model_->AddClass(name); }
    ComPtr<IZClassValue> AddAttribute(IZClass* cls, const wchar_t* name) {
        return model_->AddAttribute(cls, name);
    }
    LONG AddGroup(const wchar_t* id, const wchar_t* name) { return model_->AddGroup(id, name); }
    void AddEventItem(const wchar_t* name, bool allow_changes);
    bool EventItemAllowsChanges(LONG index);
    void Save(const std::wstring& path);
    void Load(const std::wstring& path);

    // -1 when the group has no entry for the item (a class or an attribute).
    LONG Rights(LONG group, IUnknown* item);
    static GUID ClassGuid(IZClass* cls);
    static GUID AttributeGuid(IZClassValue* cval);
    static GUID DataType(IZClassValue* cval);
    static POINT Position(IZClass* cls);

private:
    std::optional<kvtest::StandInModel> model_;
    ComPtr<IZModelAdmin> admin_;
    ComPtr<IZLocalSecurity> security_;
};

std::wstring GuidString(const GUID& guid);
GUID GuidOf(const wchar_t* text);
using kvtest::RefCount;
// A folder of the test's own under the temporary folder.
std::wstring TestFolder();
