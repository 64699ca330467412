// SaveAsHTMLFile (ordinal 22) and SaveAsHTML (16) of korvalith.dll, called as a host calls them,
// against models of the kernel stand-in: the written page, the escaping of model texts, and
// failures that leave no file behind (also of the page file written in parts).
#include "export/page_file.h"
#include "failing_model.h"
#include "kernel_model.h"
#include "support/error_info.h"
#include "support/files.h"
#include "support/golden.h"

#include <gtest/gtest.h>

#include <oleauto.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

using Microsoft::WRL::ComPtr;
using namespace export_test;
using kvtest::FileBytes;
using kvtest::TakeErrorDescription;

namespace {

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream file(path.c_str(), std::ios::binary);
    file << bytes;
}

class HtmlExport : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        ASSERT_TRUE(library_.Loaded()) << "korvalith.dll not loaded";
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"kv_html_export_" + std::to_wstring(GetCurrentProcessId()) +
                  L"\\";
        CreateDirectoryW(folder_.c_str(), nullptr);
    }
    void TearDown() override {
        for (const std::wstring& name : Entries()) {
            const std::wstring path = folder_ + name;
            if (!DeleteFileW(path.c_str()))
                RemoveDirectoryW(path.c_str());
        }
        RemoveDirectoryW(folder_.c_str());
        CoUninitialize();
    }

    // Names in the test's folder, files and folders alike.
    std::vector<std::wstring> Entries() const {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((folder_ + L"*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return names;
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L"..")
                names.push_back(name);
        } while (FindNextFileW(search, &found));
        FindClose(search);
        std::sort(names.begin(), names.end());
        return names;
    }

    // The model built from the structure, or a skip when the stand-in is missing.
    ComPtr<IZModel> Model(const StructureSpec& spec) {
        ComPtr<IZModel> model = BuildModel(spec);
        if (!model)
            ADD_FAILURE() << "the kernel stand-in zkernel.ZModel is not registered";
        return model;
    }

    bool SaveToFile(IZModel** model, const std::wstring& path) {
        const std::string ansi = Narrow(path);
        return library_.SaveAsHTMLFile()(model, ansi.c_str()) != 0;
    }

    KorvalithLibrary library_;
    std::wstring folder_;
};

TEST_F(HtmlExport, WritesThePageOfTheStructure) {
    struct Case {
        StructureSpec spec;
        const char* golden;
    };
    const std::vector<Case> cases = {{GoldenStructure(), "golden_structure"},
                                     {EmptyStructure(), "golden_empty"}};
    for (const Case& c : cases) {
        ComPtr<IZModel> model = Model(c.spec);
        ASSERT_TRUE(model);
        // Under Wine without a Russian Unix locale, file names stay ASCII.
        const std::wstring path = folder_ + L"page " + WideFromUtf8(c.golden) + L".htm";
        ASSERT_TRUE(SaveToFile(model.GetAddressOf(), path)) << TakeErrorDescription();
        EXPECT_EQ(FileBytes(path), kvtest::GoldenText(KV_EXPORT_GOLDEN_DIR, c.golden))
            << c.golden;
    }
    EXPECT_EQ(Entries().size(), 2u) << "no temporary file is left behind";
}

TEST_F(HtmlExport, ModelTextsAreEscapedInTextAnchorsAndLinks) {
    ComPtr<IZModel> model = Model(SpecialCharacterStructure());
    ASSERT_TRUE(model);
    const std::wstring path = folder_ + L"special.htm";
    ASSERT_TRUE(SaveToFile(model.GetAddressOf(), path)) << TakeErrorDescription();
    const std::string page = FileBytes(path);
    for (const char* piece :
         {"<a name=A&lt;B>", "<a name=Tom&#32;&amp;&#32;Jerry>",
          "<a href=#Say&#32;&quot;hi&quot;&#32;x&#61;1>Say &quot;hi&quot; x=1</a>",
          "&nbsp;&lt;script&gt;alert(1)&lt;/script&gt;</td>",
          "   k&amp;&quot;v&quot; = 1 &lt; 2 &amp; 'q'<br>"})
        EXPECT_NE(page.find(piece), std::string::npos) << piece;
    for (const char* raw : {"A<B", "<script>", "Tom & Jerry", "\"hi\""})
        EXPECT_EQ(page.find(raw), std::string::npos) << raw;
}

TEST_F(HtmlExport, ReplacesAnExistingFile) {
    ComPtr<IZModel> model = Model(EmptyStructure());
    ASSERT_TRUE(model);
    const std::wstring path = folder_ + L"page.htm";
    WriteBytes(path, std::string(100000, 'x'));
    ASSERT_TRUE(SaveToFile(model.GetAddressOf(), path)) << TakeErrorDescription();
    EXPECT_EQ(FileBytes(path), kvtest::GoldenText(KV_EXPORT_GOLDEN_DIR, "golden_empty"));
    EXPECT_EQ(Entries(), std::vector<std::wstring>{L"page.htm"});
}

// Paths past the classic 260-character limit are written at full length, not cut.
TEST_F(HtmlExport, WritesAtPathsPastTheClassicLimit) {
    ComPtr<IZModel> model = Model(EmptyStructure());
    ASSERT_TRUE(model);
    std::wstring folder = folder_;
    std::vector<std::wstring> created;
    while (folder.size() < 300) {
        folder += std::wstring(60, L'd') + L"\\";
        ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + folder).c_str(), nullptr));
        created.push_back(L"\\\\?\\" + folder);
    }
    const std::wstring path = folder + L"page.htm";
    ASSERT_GT(path.size(), 300u);
    EXPECT_TRUE(SaveToFile(model.GetAddressOf(), path)) << TakeErrorDescription();
    const std::wstring long_path = L"\\\\?\\" + path;
    EXPECT_EQ(FileBytes(long_path), kvtest::GoldenText(KV_EXPORT_GOLDEN_DIR, "golden_empty"));
    DeleteFileW(long_path.c_str());
    for (auto folder_path = created.rbegin(); folder_path != created.rend(); ++folder_path)
        RemoveDirectoryW(folder_path->c_str());
}

TEST_F(HtmlExport, NoModelWritesNothingAndAnswersFalse) {
    IZModel* no_model = nullptr;
    const std::string path = Narrow(folder_ + L"page.htm");
    EXPECT_EQ(library_.SaveAsHTMLFile()(&no_model, path.c_str()), 0);
    EXPECT_EQ(library_.SaveAsHTMLFile()(nullptr, path.c_str()), 0);
    // No dialog may appear for a missing model.
    EXPECT_EQ(library_.SaveAsHTML()(&no_model, nullptr), 0);
    EXPECT_TRUE(Entries().empty());
}

// Every failure answers false with a message for the host and leaves no new file, no temporary
// file, and an existing file as it was.
TEST_F(HtmlExport, FailuresLeaveNoFileAndTellWhy) {
    ComPtr<IZModel> model = Model(GoldenStructure());
    ASSERT_TRUE(model);
    FailingModel failing(L"ядро недоступно");
    IZModel* failing_model = &failing;

    ASSERT_TRUE(CreateDirectoryW((folder_ + L"folder.htm").c_str(), nullptr));
    WriteBytes(folder_ + L"old.htm", "old page");

    struct Case {
        const char* what;
        IZModel** model;
        std::wstring path;
        std::wstring message; // part of the error text
    };
    const std::vector<Case> cases = {
        {"missing folder", model.GetAddressOf(), folder_ + L"missing\\page.htm", L"page.htm"},
        {"target is a folder", model.GetAddressOf(), folder_ + L"folder.htm", L"folder.htm"},
        {"empty file name", model.GetAddressOf(), L"", L""},
        {"kernel fails", &failing_model, folder_ + L"old.htm", L"ядро недоступно"},
    };
    for (const Case& c : cases) {
        SetErrorInfo(0, nullptr);
        const std::string path = Narrow(c.path);
        EXPECT_EQ(library_.SaveAsHTMLFile()(c.model, path.c_str()), 0) << c.what;
        const std::wstring description = TakeErrorDescription();
        EXPECT_FALSE(description.empty()) << c.what;
        EXPECT_NE(description.find(c.message), std::wstring::npos) << c.what;
        EXPECT_EQ(Entries(), (std::vector<std::wstring>{L"folder.htm", L"old.htm"})) << c.what;
        EXPECT_EQ(FileBytes(folder_ + L"old.htm"), "old page") << c.what;
    }
}

} // namespace

namespace {

// The page is written in parts while it is read: a failure after some parts were written leaves
// the existing file as it was and no temporary file; parts that all arrive replace it whole.
TEST_F(HtmlExport, APageFailingHalfwayLeavesTheOldFile) {
    const std::wstring target = folder_ + L"old.htm";
    WriteBytes(target, "old page");
    EXPECT_THROW(kv::html::WriteFileReplacing(target,
                                              [](const kv::html::FileBytesSink& sink) {
                                                  sink(std::string(3 << 20, 'x'));
                                                  sink("more");
                                                  throw std::runtime_error("the kernel failed");
                                              }),
                 std::runtime_error);
    EXPECT_EQ(Entries(), std::vector<std::wstring>{L"old.htm"});
    EXPECT_EQ(FileBytes(target), "old page");

    kv::html::WriteFileReplacing(target, [](const kv::html::FileBytesSink& sink) {
        sink("first, ");
        sink("");
        sink("second");
    });
    EXPECT_EQ(Entries(), std::vector<std::wstring>{L"old.htm"});
    EXPECT_EQ(FileBytes(target), "first, second");
}

} // namespace
