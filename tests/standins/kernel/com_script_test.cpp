// A VBScript run by the real cscript drives "zkernel.ZModel" late-bound with the statement
// forms that recorded scenarios use; the structure it stores is then checked here.
#include "com_test_support.h"
#include "core/structure_file.h"

namespace zk::testing {
namespace {

// The statements are those of the scenario templates (class, attribute, inheritance, base,
// link, filter, module and attribute-move fragments), in the order a recording writes them.
const char kScript[] = R"vbs(set mdl = CreateObject("zkernel.ZModel")
set cls = nothing
set cls = mdl.zrGetClassVector.zrAdd("B")
set cval = nothing
set cval = cls.zrAddClassValue("b1")
  cval.zrScreenName = "Base attribute"
  cval.zrFunctionCode = "x = 1"&Chr(13)&Chr(10)&"y = 2"
  set props = cval.zrProperties
    props.zrAddProp "kind","base"
set cls = nothing
set cls = mdl.zrGetClassVector.zrAdd("D")
  cls.zrBaseClass = mdl.zrGetClassVector.zrLocate("B")
  cls.zrBlocked = true
set cval = nothing
set cval = cls.zrAddClassValue("b1")
  cval.zrInheritedFrom = nothing
  cval.zrType = 2
  set props = cval.zrProperties
    props.zrAddProp "kind","own"
    props.zrAddProp "count",3
set cval = nothing
set cval = cls.zrAddClassValue("d1")
set cval = nothing
set cval = cls.zrnClassValueItem("b1")
if not (cval is nothing) then
  s_after = cls.zriClassValueItem(cls.zrClassValuesCount-1).zrName
  i = 0
  do while (i<cls.zrClassValuesCount)
    if ((cls.zriClassValueItem(i).zrName=cval.zrName)and(i<(cls.zrClassValuesCount-1))) then
      cls.zrSwapClassValues cval.zrName,cls.zriClassValueItem(i+1).zrName
    end if
    i = i + 1
  loop
end if
set cls = nothing
set cls = mdl.zrGetClassVector.zrLocate("B")
if not (cls is nothing) then
  cls.zrAddChildClass "D"
  cls.zrAddChildClass "D"
end if
set flt = mdl.zrGetClassVector.zrFilterVector
  flt.zrRemoveFilter "Products"
  flt.zrCreateFilterEx "Products","All products"
  flt.zrAddConstraint "Products","D"
set cvec = mdl.zrGetClassVector
  cvec.zrPatchFunction("Common") = ""&Chr(13)&Chr(10)&"sub Hello()"&Chr(13)&Chr(10)&"end sub"
set cls = nothing
set cls = mdl.zrGetClassVector.zrLocate("Missing")
if not (cls is nothing) then
  cls.zrBlocked = true
end if
if not (mdl.zrGetClassVector.zrLocate("D").zrBaseClass is mdl.zrGetClassVector.zrItem(0)) then
  WScript.Echo "the base is not the same object as the class"
end if
mdl.zrSaveModel WScript.Arguments(0), nothing
WScript.Echo "KERNEL-SCRIPT-OK " & mdl.zrModelName
)vbs";

class KernelScript : public ComTest {};

TEST_F(KernelScript, TemplateStatementsDriveTheKernel) {
    TempFile script(L"forms.vbs"), stored(L"scripted.ztp");
    WriteBytes(script.path(), kScript);
    const kvtest::ProcessOutcome run = kvtest::RunProcess(
        L"cscript.exe //nologo \"" + script.path() + L"\" \"" + stored.path() + L"\"");
    const std::string& output = run.output;
    EXPECT_EQ(run.exit_code, 0u);
    ASSERT_NE(output.find("KERNEL-SCRIPT-OK zkernel-test-"), std::string::npos) << output;
    EXPECT_EQ(output.find("not the same object"), std::string::npos) << output;

    Structure s = ReadStructureFile(ReadBytes(stored.path()));
    ASSERT_EQ(s.ClassCount(), 2u);
    EntityId b = s.FindClass("B"), d = s.FindClass("D");
    ASSERT_TRUE(b && d);
    EXPECT_EQ(s.Class(d).base, b);
    EXPECT_TRUE(s.Class(d).blocked);
    ASSERT_EQ(s.Class(b).children, std::vector<EntityId>{d});

    const AttributeData& base_b1 = s.Declaring(s.FindAttribute(b, "b1"));
    EXPECT_EQ(base_b1.screen_name, "Base attribute");
    EXPECT_EQ(base_b1.function_code, "x = 1\r\ny = 2");
    EXPECT_EQ(base_b1.properties.Find("kind")->text, "base");

    // D: the own copy of b1 (same identifier) moved to the end after d1.
    ASSERT_EQ(s.AttributeCount(d), 2u);
    EXPECT_EQ(s.Declaring(s.AttributeAt(d, 0)).name, "d1");
    EntityId own_b1 = s.AttributeAt(d, 1);
    EXPECT_EQ(s.Attribute(own_b1).inherited_from, 0u);
    const AttributeData& copy = s.Declaring(own_b1);
    EXPECT_EQ(copy.name, "b1");
    EXPECT_EQ(copy.guid, base_b1.guid);
    EXPECT_EQ(copy.type, 2);
    EXPECT_EQ(copy.screen_name, "Base attribute");
    ASSERT_EQ(copy.properties.Count(), 2u);
    EXPECT_EQ(copy.properties.Find("kind")->text, "own");
    EXPECT_EQ(copy.properties.Find("count")->type, ValueType::I2); // VBScript's integer
    EXPECT_EQ(copy.properties.Find("count")->integer, 3);

    ASSERT_EQ(s.FilterCount(), 1u);
    EXPECT_EQ(s.FilterAt(0).caption, "All products");
    EXPECT_EQ(s.FilterAt(0).constraints, std::vector<std::string>{"D"});
    ASSERT_TRUE(s.FindModule("Common"));
    EXPECT_EQ(s.FindModule("Common")->text, "\r\nsub Hello()\r\nend sub");
}

TEST_F(KernelScript, KernelErrorsReachTheScript) {
    TempFile script(L"errors.vbs");
    WriteBytes(script.path(), R"vbs(set mdl = CreateObject("zkernel.ZModel")
set cls = mdl.zrGetClassVector.zrAdd("A")
on error resume next
cls.zrAddChildClass "Nobody"
WScript.Echo "ERROR " & Hex(Err.Number) & " " & Err.Description
Err.Clear
mdl.zrLoadModel "C:\no\such\structure.ztp", nothing, 2
WScript.Echo "ERROR " & Hex(Err.Number)
WScript.Echo "KERNEL-SCRIPT-OK"
)vbs");
    const std::string output =
        kvtest::RunProcess(L"cscript.exe //nologo \"" + script.path() + L"\"").output;
    ASSERT_NE(output.find("KERNEL-SCRIPT-OK"), std::string::npos) << output;
    EXPECT_NE(output.find("ERROR 80070057 zkernel: cannot link 'A' to 'Nobody'"), std::string::npos)
        << output;
    EXPECT_NE(output.find("ERROR 80070003"), std::string::npos) << output; // path not found
}

} // namespace
} // namespace zk::testing
