// kvhost import as a script runs it: the user's work brought into the server structure of a
// store named by the environment, the report's path printed; a failed import exits with 1 and
// leaves the server structure as it was.
#include "support/process.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

using kvtest::ProcessOutcome;
using kvtest::RunHost;

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void CopyFixture(const char* fixture, const std::string& target) {
    std::ofstream(target, std::ios::binary)
        << ReadFile(std::string(KV_IMPORT_FIXTURE_DIR) + "\\" + fixture);
}

// A server store and a temporary folder of the test's own, which the host inherits.
class HostImportTest : public testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        root_ = std::string(temp) + "kvhost_import_" + std::to_string(GetCurrentProcessId());
        for (const std::string& folder : {root_, Store(), Reports()})
            CreateDirectoryA(folder.c_str(), nullptr);
        SetEnvironmentVariableA("ZKERNEL_SERVER_STORE", Store().c_str());
        SetEnvironmentVariableA("TMP", Reports().c_str());
        CopyFixture("server.ztp", Store() + "\\structure.ztp");
        CopyFixture("user.ztp", Store() + "\\user.ztp");
    }
    void TearDown() override {
        SetEnvironmentVariableA("ZKERNEL_SERVER_STORE", nullptr);
        SetEnvironmentVariableA("TMP", nullptr);
        for (const std::string& file : {Store() + "\\structure.ztp", Store() + "\\user.ztp",
                                        Reports() + "\\zsImportAppendedToSvr.log"})
            DeleteFileA(file.c_str());
        for (const std::string& folder : {Reports(), Store(), root_})
            RemoveDirectoryA(folder.c_str());
    }
    std::string Store() const { return root_ + "\\store"; }
    std::string Reports() const { return root_ + "\\reports"; }

    std::string root_;
};

TEST_F(HostImportTest, ImportsMarkedAndPrintsTheReportPath) {
    const ProcessOutcome outcome =
        RunHost({"import", "--distr", std::string(KV_IMPORT_FIXTURE_DIR) + "\\distribution.ztp",
                 "--user", "user.ztp", "--mark"});
    ASSERT_EQ(outcome.exit_code, 0u) << outcome.output;
    const std::string report = Reports() + "\\zsImportAppendedToSvr.log";
    EXPECT_EQ(outcome.output, report + "\r\n"); // text-mode output
    EXPECT_NE(ReadFile(report).find("Gauge->Tool"), std::string::npos);
    EXPECT_NE(ReadFile(Store() + "\\structure.ztp").find("\"(+)Gauge\""), std::string::npos);
}

TEST_F(HostImportTest, FailedImportExitsWithOneAndChangesNothing) {
    const std::string before = ReadFile(Store() + "\\structure.ztp");
    const ProcessOutcome outcome =
        RunHost({"import", "--distr", root_ + "\\missing.ztp", "--user", "user.ztp"});
    EXPECT_EQ(outcome.exit_code, 1u) << outcome.output;
    EXPECT_NE(outcome.output.find("missing.ztp"), std::string::npos) << outcome.output;
    EXPECT_EQ(ReadFile(Store() + "\\structure.ztp"), before);
    EXPECT_EQ(GetFileAttributesA((Reports() + "\\zsImportAppendedToSvr.log").c_str()),
              INVALID_FILE_ATTRIBUTES);
}

} // namespace
