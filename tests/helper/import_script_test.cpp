// The import's errors as a scenario sees them: cscript creates "korvalith.ZScriptHelper" by its
// ProgID, and after a failing zsImportAppendedToSvr the message is Err.Description.
#include "support/process.h"
#include "support/wide_text.h"
#include "import_fixture.h"

namespace {

// cscript prints nothing and exits 0 on a script error: the last line is a sentinel.
const char* const script =
    "on error resume next\r\n"
    "set h = CreateObject(\"korvalith.ZScriptHelper\")\r\n"
    "r = h.zsImportAppendedToSvr(WScript.Arguments(0), \"user.ztp\", true)\r\n"
    "WScript.Echo \"number=\" & Hex(Err.Number)\r\n"
    "WScript.Echo \"description=\" & Err.Description\r\n"
    "WScript.Echo \"result=[\" & r & \"]\"\r\n"
    "WScript.Echo \"script finished\"\r\n";

struct ScriptedFailure {
    const char* name;
    const wchar_t* server; // fixture stored as "structure.ztp"
    bool distribution_exists;
    const wchar_t* description_start; // nullptr: the missing file's own message
};

class ImportFailureInScript : public ServerStoreTest,
                              public testing::WithParamInterface<ScriptedFailure> {};

TEST_P(ImportFailureInScript, ScriptSeesTheMessageInErrDescription) {
    PutInStore(GetParam().server, L"structure.ztp");
    PutInStore(L"user.ztp", L"user.ztp");
    const std::string server_before = FileBytes(StorePath(L"structure.ztp"));
    const std::wstring script_path = root_ + L"\\import.vbs";
    WriteFile(script_path, script);
    const std::wstring distribution = GetParam().distribution_exists
                                          ? FixturePath(L"distribution.ztp")
                                          : root_ + L"\\no-such-distribution.ztp";

    const std::string output = kvtest::RunProcess(L"cscript.exe //nologo \"" + script_path +
                                                       L"\" \"" + distribution + L"\"")
                                   .output;

    ASSERT_NE(output.find("script finished"), std::string::npos) << output;
    EXPECT_NE(output.find("number=80070057\r\n"), std::string::npos) << output;
    const std::wstring description = GetParam().description_start
                                         ? GetParam().description_start
                                         : distribution + L" - файл не найден\r\n";
    EXPECT_NE(output.find("description=" + kvtest::Narrow(description, CP_OEMCP)),
              std::string::npos)
        << output;
    EXPECT_NE(output.find("result=[]"), std::string::npos) << output;
    EXPECT_EQ(FileBytes(StorePath(L"structure.ztp")), server_before);
    EXPECT_EQ(FilesIn(reports_), std::vector<std::wstring>{});
}

INSTANTIATE_TEST_SUITE_P(
    Errors, ImportFailureInScript,
    testing::Values(ScriptedFailure{"MissingDistributionFile", L"server.ztp", false, nullptr},
                    ScriptedFailure{"ServerStructureFailsToLoad", L"malformed.ztp", true,
                                    L"Структуры не инициализированы: "}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
