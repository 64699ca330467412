// The runner calls the Script Control through vtables declared by hand: every slot of our
// declaration must match the control's own type library, or a call lands on another member.
#define CINTERFACE // the C form of the declarations: the vtables as structs we can measure
#include <windows.h>
#include <oleauto.h>

#include "script_control.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

namespace {

struct Slot {
    MEMBERID member;
    INVOKEKIND kind;
    std::size_t offset; // in our declaration's vtable
    const char* name;
};

#define SLOT(vtbl, member, kind, field)                                                            \
    Slot {                                                                                         \
        member, kind, offsetof(vtbl, field), #field                                                \
    }

const std::vector<Slot> kControlSlots = {
    SLOT(IScriptControlVtbl, 0x5dc, INVOKE_PROPERTYGET, get_Language),
    SLOT(IScriptControlVtbl, 0x5dc, INVOKE_PROPERTYPUT, put_Language),
    SLOT(IScriptControlVtbl, 0x5dd, INVOKE_PROPERTYGET, get_State),
    SLOT(IScriptControlVtbl, 0x5dd, INVOKE_PROPERTYPUT, put_State),
    SLOT(IScriptControlVtbl, 0x5de, INVOKE_PROPERTYPUT, put_SitehWnd),
    SLOT(IScriptControlVtbl, 0x5de, INVOKE_PROPERTYGET, get_SitehWnd),
    SLOT(IScriptControlVtbl, 0x5df, INVOKE_PROPERTYGET, get_Timeout),
    SLOT(IScriptControlVtbl, 0x5df, INVOKE_PROPERTYPUT, put_Timeout),
    SLOT(IScriptControlVtbl, 0x5e0, INVOKE_PROPERTYGET, get_AllowUI),
    SLOT(IScriptControlVtbl, 0x5e0, INVOKE_PROPERTYPUT, put_AllowUI),
    SLOT(IScriptControlVtbl, 0x5e1, INVOKE_PROPERTYGET, get_UseSafeSubset),
    SLOT(IScriptControlVtbl, 0x5e1, INVOKE_PROPERTYPUT, put_UseSafeSubset),
    SLOT(IScriptControlVtbl, 0x5e2, INVOKE_PROPERTYGET, get_Modules),
    SLOT(IScriptControlVtbl, 0x5e3, INVOKE_PROPERTYGET, get_Error),
    SLOT(IScriptControlVtbl, 0x3e8, INVOKE_PROPERTYGET, get_CodeObject),
    SLOT(IScriptControlVtbl, 0x3e9, INVOKE_PROPERTYGET, get_Procedures),
    SLOT(IScriptControlVtbl, -552, INVOKE_FUNC, _AboutBox),
    SLOT(IScriptControlVtbl, 0x9c4, INVOKE_FUNC, AddObject),
    SLOT(IScriptControlVtbl, 0x9c5, INVOKE_FUNC, Reset),
    SLOT(IScriptControlVtbl, 0x7d0, INVOKE_FUNC, AddCode),
    SLOT(IScriptControlVtbl, 0x7d1, INVOKE_FUNC, Eval),
    SLOT(IScriptControlVtbl, 0x7d2, INVOKE_FUNC, ExecuteStatement),
    SLOT(IScriptControlVtbl, 0x7d3, INVOKE_FUNC, Run),
};

const std::vector<Slot> kErrorSlots = {
    SLOT(IScriptErrorVtbl, 0xc9, INVOKE_PROPERTYGET, get_Number),
    SLOT(IScriptErrorVtbl, 0xca, INVOKE_PROPERTYGET, get_Source),
    SLOT(IScriptErrorVtbl, 0xcb, INVOKE_PROPERTYGET, get_Description),
    SLOT(IScriptErrorVtbl, 0xcc, INVOKE_PROPERTYGET, get_HelpFile),
    SLOT(IScriptErrorVtbl, 0xcd, INVOKE_PROPERTYGET, get_HelpContext),
    SLOT(IScriptErrorVtbl, -517, INVOKE_PROPERTYGET, get_Text),
    SLOT(IScriptErrorVtbl, 0xce, INVOKE_PROPERTYGET, get_Line),
    SLOT(IScriptErrorVtbl, -529, INVOKE_PROPERTYGET, get_Column),
    SLOT(IScriptErrorVtbl, 0xd0, INVOKE_FUNC, Clear),
};

#undef SLOT

class ScriptControlLayout : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        IDispatch* control = nullptr;
        ASSERT_EQ(CoCreateInstance(CLSID_ScriptControl, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IDispatch, reinterpret_cast<void**>(&control)),
                  S_OK);
        ITypeInfo* info = nullptr;
        ASSERT_EQ(control->lpVtbl->GetTypeInfo(control, 0, 0, &info), S_OK);
        UINT index = 0;
        ASSERT_EQ(info->lpVtbl->GetContainingTypeLib(info, &library_, &index), S_OK);
        info->lpVtbl->Release(info);
        control->lpVtbl->Release(control);
    }
    void TearDown() override {
        if (library_)
            library_->lpVtbl->Release(library_);
        CoUninitialize();
    }

    // The vtable side of a dual interface of the control's type library.
    ITypeInfo* VtableInfo(REFIID iid) {
        ITypeInfo* info = nullptr;
        EXPECT_EQ(library_->lpVtbl->GetTypeInfoOfGuid(library_, iid, &info), S_OK);
        if (!info)
            return nullptr;
        TYPEATTR* attributes = nullptr;
        info->lpVtbl->GetTypeAttr(info, &attributes);
        const bool dispatchSide = attributes->typekind == TKIND_DISPATCH;
        info->lpVtbl->ReleaseTypeAttr(info, attributes);
        if (!dispatchSide)
            return info;
        HREFTYPE vtableSide = 0;
        ITypeInfo* vtable = nullptr;
        EXPECT_EQ(info->lpVtbl->GetRefTypeOfImplType(info, -1, &vtableSide), S_OK);
        EXPECT_EQ(info->lpVtbl->GetRefTypeInfo(info, vtableSide, &vtable), S_OK);
        info->lpVtbl->Release(info);
        return vtable;
    }

    void ExpectSameSlots(REFIID iid, const std::vector<Slot>& slots) {
        ITypeInfo* info = VtableInfo(iid);
        ASSERT_NE(info, nullptr);
        TYPEATTR* attributes = nullptr;
        info->lpVtbl->GetTypeAttr(info, &attributes);
        const UINT count = attributes->cFuncs;
        info->lpVtbl->ReleaseTypeAttr(info, attributes);
        EXPECT_EQ(count, slots.size()) << "members of the control's interface";
        for (UINT i = 0; i < count; ++i) {
            FUNCDESC* function = nullptr;
            ASSERT_EQ(info->lpVtbl->GetFuncDesc(info, i, &function), S_OK);
            bool found = false;
            for (const Slot& slot : slots) {
                if (slot.member != function->memid || slot.kind != function->invkind)
                    continue;
                found = true;
                EXPECT_EQ(static_cast<std::size_t>(function->oVft), slot.offset) << slot.name;
            }
            EXPECT_TRUE(found) << "member " << function->memid << " kind " << function->invkind;
            info->lpVtbl->ReleaseFuncDesc(info, function);
        }
        info->lpVtbl->Release(info);
    }

    ITypeLib* library_ = nullptr;
};

TEST_F(ScriptControlLayout, ControlSlotsMatchTheControlsTypeLibrary) {
    ExpectSameSlots(IID_IScriptControl, kControlSlots);
}

TEST_F(ScriptControlLayout, ErrorSlotsMatchTheControlsTypeLibrary) {
    ExpectSameSlots(IID_IScriptError, kErrorSlots);
}

} // namespace
