// The helper through a real client: a VBScript run by cscript creates "korvalith.ZScriptHelper"
// by its ProgID and works on a "zkernel.ZModel" loaded from a structure file; the model is
// stored again and its changes are checked here.
#include "support/process.h"
#include "kernel_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

const wchar_t* const class_guid = L"{11111111-2222-3333-4444-555555555555}";
const wchar_t* const attribute_guid = L"{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}";
const wchar_t* const data_type = L"{0A1B2C3D-1111-2222-3333-444455556666}";

// The script's lines; cscript prints nothing and exits 0 on a script error, so the last line
// is a sentinel.
const char* const script = R"(set mdl = CreateObject("zkernel.ZModel")
mdl.zrLoadModel WScript.Arguments(0), nothing, 2
set h = CreateObject("korvalith.ZScriptHelper")
set cls = mdl.zrGetClassVector.zrLocate("Part")
set cval = cls.zrnClassValueItem("Mass")
set sec = mdl.zrGetLocalSecurity
h.zsSetClassGUID cls, "{11111111-2222-3333-4444-555555555555}"
h.zsSetClassValueGUID cval, "{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}"
h.zsSetCValDataType cval, "{0A1B2C3D-1111-2222-3333-444455556666}"
h.zsSetCoors cls, 120, 340
h.zsGiveRights cls, 7, "designers", sec
h.zsGiveRights cval, 3, "designers", sec
h.zsGiveRights cls, 5, "viewers", sec
h.zsRemoveRights cls, "viewers", sec
h.zsSetCValDataType cval, ""
h.zsSetClassGUID nothing, "{11111111-2222-3333-4444-555555555555}"
set props = cval.zrProperties
WScript.Echo "prop=" & h.zsPropName(props, props.zrCount - 1)
WScript.Echo "guid=" & h.zsClassValueGUIDasStr(cval)
WScript.Echo "none=[" & h.zsPropName(nothing, 0) & "]"
WScript.Echo "arch=" & CreateObject("WScript.Shell").Environment("Process")("PROCESSOR_ARCHITECTURE")
mdl.zrSaveModel WScript.Arguments(1), nothing
WScript.Echo "script finished"
)";

std::string Narrow(const wchar_t* text) {
    return std::string(text, text + wcslen(text));
}

TEST(ScriptClient, CscriptCreatesTheHelperByProgIdAndChangesTheModel) {
    CoInitialize(nullptr);
    const std::wstring folder = TestFolder();
    const std::wstring start = folder + L"\\start.ztp", end = folder + L"\\end.ztp",
                       script_path = folder + L"\\helper.vbs";
    {
        KernelModel model;
        ASSERT_TRUE(model.Created());
        model.AddGroup(L"designers", L"Designers");
        model.AddGroup(L"viewers", L"Viewers");
        ComPtr<IZClass> cls = model.AddClass(L"Part");
        ComPtr<IZClassValue> cval = model.AddAttribute(cls.Get(), L"Mass");
        ComPtr<IZProperties> props;
        ASSERT_EQ(cval->get_zrProperties(&props), S_OK);
        VARIANT value;
        VariantInit(&value);
        V_VT(&value) = VT_I4;
        V_I4(&value) = 10;
        BSTR name = SysAllocString(L"unit");
        props->zrAddProp(name, value);
        SysFreeString(name);
        model.Save(start);
    }
    {
        std::ofstream file(std::filesystem::path(script_path), std::ios::binary);
        for (const char* c = script; *c; ++c) {
            if (*c == '\n')
                file << '\r';
            file << *c;
        }
    }
    DeleteFileW(end.c_str());

    const std::string output = kvtest::RunProcess(L"cscript.exe //nologo \"" + script_path +
                                                       L"\" \"" + start + L"\" \"" + end + L"\"")
                                   .output;
    EXPECT_NE(output.find("prop=unit\r\n"), std::string::npos) << output;
    EXPECT_NE(output.find("guid=" + Narrow(attribute_guid)), std::string::npos) << output;
    EXPECT_NE(output.find("none=[]"), std::string::npos) << output;
    // The script client is of the test's own architecture: a 64-bit cscript drives the
    // 64-bit library and kernel.
    const std::string architecture = sizeof(void*) == 8 ? "arch=AMD64\r\n" : "arch=x86\r\n";
    EXPECT_NE(output.find(architecture), std::string::npos) << output;
    ASSERT_NE(output.find("script finished"), std::string::npos) << output;

    KernelModel stored;
    stored.Load(end);
    ComPtr<IZClassVector> classes;
    ASSERT_EQ(stored.Model()->zrGetClassVector(&classes), S_OK);
    ComPtr<IZClass> cls;
    BSTR part = SysAllocString(L"Part"), mass = SysAllocString(L"Mass"),
         designers = SysAllocString(L"designers"), viewers = SysAllocString(L"viewers");
    ASSERT_EQ(classes->zrLocate(part, &cls), S_OK);
    ASSERT_TRUE(cls);
    ComPtr<IZClassValue> cval;
    ASSERT_EQ(cls->zrnClassValueItem(mass, &cval), S_OK);
    ASSERT_TRUE(cval);
    LONG designers_group = 0, viewers_group = 0;
    stored.Security()->zrGroupByID(designers, &designers_group);
    stored.Security()->zrGroupByID(viewers, &viewers_group);
    SysFreeString(part);
    SysFreeString(mass);
    SysFreeString(designers);
    SysFreeString(viewers);

    EXPECT_EQ(GuidString(KernelModel::ClassGuid(cls.Get())), class_guid);
    EXPECT_EQ(GuidString(KernelModel::AttributeGuid(cval.Get())), attribute_guid);
    EXPECT_EQ(GuidString(KernelModel::DataType(cval.Get())), data_type);
    const POINT position = KernelModel::Position(cls.Get());
    EXPECT_EQ(position.x, 120);
    EXPECT_EQ(position.y, 340);
    EXPECT_EQ(stored.Rights(designers_group, cls.Get()), 7);
    EXPECT_EQ(stored.Rights(designers_group, cval.Get()), 3);
    EXPECT_EQ(stored.Rights(viewers_group, cls.Get()), -1);
    cls.Reset();
    cval.Reset();
    classes.Reset();
}

} // namespace
