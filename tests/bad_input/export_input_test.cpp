// Names that reach the library only through the exports' string arguments (a class removed, an
// attribute removed by name, a link, a constraint), with quotes, line breaks, "%", "<" and "&":
// recorded through the exports as a host calls them and replayed by "kvhost run", they make
// exactly the edits the host reported.
#include "support/korvalith_library.h"
#include "bad_input_fixture.h"
#include "tricky_structure.h"

#include <cstdint>

using namespace kv;

namespace {

using kvtest::KorvalithLibrary;

using ExportBool = unsigned char;
using BoolSlot = std::uint32_t;
using ScriptStart = ExportBool(__stdcall*)(IZModel**);
using ScriptEnd = ExportBool(__stdcall*)(HWND, const char*, IZModel**);
using ScriptClassLink = ExportBool(__stdcall*)(const char*, const char*, BoolSlot);
using ScriptConstraint = ExportBool(__stdcall*)(const char*, const char*, BoolSlot);
using ScriptCValRemoveName = ExportBool(__stdcall*)(const char*, const char*);
using ScriptClsRemove = ExportBool(__stdcall*)(const char*);

ComPtr<IZClass> ClassNamed(IZModel* model, const std::wstring& name) {
    ComPtr<IZClassVector> vector;
    Check(model->zrGetClassVector(&vector), "the class vector");
    ComPtr<IZClass> cls;
    Check(vector->zrLocate(Bstr(name).Get(), &cls), "locating a class");
    return cls;
}

TEST_F(BadInputTest, NamesGivenToTheExportsReplayExactly) {
    StoreStructure(Path("model.ztp"), BuildTrickyStructure);
    const std::wstring* names = kTrickyTexts;

    // What the host reports: recorded through the exports, with the names as ANSI arguments.
    {
        KorvalithLibrary library;
        ASSERT_TRUE(library.Get());
        ComPtr<IZModel> model = LoadModel(Path("model.ztp"));
        IZModel* host_model = model.Get();
        ASSERT_TRUE(library.ByOrdinal<ScriptStart>(15)(&host_model));
        EXPECT_TRUE(library.ByOrdinal<ScriptClassLink>(1)(ShownAnsiFromWide(names[0]).c_str(),
                                                          ShownAnsiFromWide(names[2]).c_str(), 0x100));
        EXPECT_TRUE(library.ByOrdinal<ScriptConstraint>(7)(ShownAnsiFromWide(names[2]).c_str(),
                                                           ShownAnsiFromWide(names[1]).c_str(), 0));
        EXPECT_TRUE(library.ByOrdinal<ScriptCValRemoveName>(12)(
            ShownAnsiFromWide(L"attr " + names[2]).c_str(), ShownAnsiFromWide(names[2]).c_str()));
        EXPECT_TRUE(library.ByOrdinal<ScriptClsRemove>(9)(ShownAnsiFromWide(names[3]).c_str()));
        ASSERT_TRUE(
            library.ByOrdinal<ScriptEnd>(3)(nullptr, Path("exports.vbs").c_str(), &host_model));
    }

    // The same edits made directly on the kernel.
    {
        ComPtr<IZModel> expected = LoadModel(Path("model.ztp"));
        Check(ClassNamed(expected.Get(), names[0])->zrAddChildClass(Bstr(names[2]).Get()),
              "linking");
        ComPtr<IZClassVector> vector;
        Check(expected->zrGetClassVector(&vector), "the class vector");
        ComPtr<IZFilterVector> filters;
        Check(vector->get_zrFilterVector(&filters), "the filters");
        Check(filters->zrAddConstraint(Bstr(names[2]).Get(), Bstr(names[1]).Get()), "a constraint");
        Check(ClassNamed(expected.Get(), names[2])
                  ->zrRemoveClassValue(Bstr(L"attr " + names[2]).Get()),
              "removing an attribute");
        Check(vector->zrRemove(Bstr(names[3]).Get()), "removing a class");
        SaveModel(expected.Get(), Path("expected.ztp"));
    }

    const std::vector<std::string> arguments = {
        "run", Path("exports.vbs"), "--model", Path("model.ztp"), "--save", Path("result.ztp")};
    const ProcessOutcome outcome = RunHost(arguments);
    ASSERT_EQ(outcome.exit_code, 0u) << Describe(arguments, outcome);
    EXPECT_EQ(StructureWithoutName(Path("result.ztp")), StructureWithoutName(Path("expected.ztp")));
}

} // namespace
