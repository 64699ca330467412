#include "convergence_fixture.h"

#include "platform/text_conversion.h"
#include "comparison/difference_text.h"
#include "core/structure_file.h"
#include "difference_aspects.h"
#include "difference_files.h"

#include <oleauto.h>

#include <gtest/gtest.h>

using namespace kv;

namespace {

constexpr int kTrue = 1;

// Owns a VARIANT for the length of a conversion.
struct LocalVariant {
    VARIANT value;
    LocalVariant() { VariantInit(&value); }
    ~LocalVariant() { VariantClear(&value); }
};

void WriteBytes(const std::string& path, const std::string& bytes) {
    HANDLE file =
        CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(written, bytes.size());
}

ComPtr<IZModel> LoadModel(const std::string& path) {
    ComPtr<IZModel> model;
    EXPECT_EQ(CoCreateInstance(CLSID_ZModel, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&model)),
              S_OK);
    LoadStructure(model.Get(), path);
    return model;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

} // namespace

std::string PlatformValueText(const zk::Value& value) {
    LocalVariant variant;
    VARIANT& v = variant.value;
    const auto type = static_cast<VARTYPE>(value.type);
    if (value.type == zk::ValueType::String) {
        V_VT(&v) = VT_BSTR;
        V_BSTR(&v) = SysAllocString(WideFromUtf8(value.text).c_str());
    } else if (value.type == zk::ValueType::Bool) {
        V_VT(&v) = VT_BOOL;
        V_BOOL(&v) = value.integer ? VARIANT_TRUE : VARIANT_FALSE;
    } else if (value.type == zk::ValueType::Currency) {
        V_VT(&v) = VT_CY;
        V_CY(&v).int64 = value.integer;
    } else if (zk::IsSignedIntegerType(value.type)) {
        V_VT(&v) = VT_I8;
        V_I8(&v) = value.integer;
    } else if (zk::IsUnsignedIntegerType(value.type)) {
        V_VT(&v) = VT_UI8;
        V_UI8(&v) = value.unsigned_integer;
    } else if (zk::IsRealType(value.type)) {
        V_VT(&v) = VT_R8;
        V_R8(&v) = value.real;
    }
    // The exact kind first (an R4 prints as a float does), then its text.
    if (V_VT(&v) != type && V_VT(&v) != VT_EMPTY) {
        EXPECT_EQ(VariantChangeType(&v, &v, 0, type), S_OK) << "kind " << type;
    }
    if (V_VT(&v) == VT_EMPTY || V_VT(&v) == VT_NULL)
        return {};
    EXPECT_EQ(VariantChangeType(&v, &v, 0, VT_BSTR), S_OK) << "kind " << type;
    return Narrow(std::wstring(V_BSTR(&v), SysStringLen(V_BSTR(&v))));
}

std::vector<std::string> StatementsBeforeRights(const std::string& scenario) {
    const std::vector<std::string> lines = Lines(scenario);
    std::vector<std::string> statements;
    std::size_t at = 0;
    for (int i = 0; i < kv::kDifferenceSectionCount - 1; ++i) {
        const auto section = static_cast<kv::DifferenceSection>(i);
        const std::string begin(kv::SectionBeginLine(section));
        const std::string end(kv::SectionEndLine(section));
        while (at < lines.size() && lines[at] != begin)
            ++at;
        if (at == lines.size()) {
            statements.push_back("no line " + begin);
            return statements;
        }
        for (++at; at < lines.size() && lines[at] != end; ++at)
            statements.push_back(lines[at]);
    }
    return statements;
}

std::string ConvergenceTest::WriteStructure(const zk::Structure& structure,
                                            const std::string& name) {
    const std::string path = OutputPath(name);
    WriteBytes(path, zk::WriteStructureFile(structure));
    return path;
}

void ConvergenceTest::WriteDifference(IZModel* model, const std::string& target,
                                      const std::string& scenario) {
    ASSERT_EQ(library_->Start(model), kTrue);
    ASSERT_EQ(library_->DifferenceFile(model, target.c_str()), kTrue)
        << Narrow(TakeErrorDescription());
    ASSERT_EQ(library_->End(owner_, scenario.c_str(), nullptr), kTrue);
}

ConvergenceOutcome ConvergenceTest::Converge(const zk::Structure& a, const zk::Structure& b) {
    ConvergenceOutcome outcome;
    const std::string aPath = WriteStructure(a, "a.ztp");
    const std::string bPath = WriteStructure(b, "b.ztp");
    const ComPtr<IZModel> model = LoadModel(aPath);
    const std::string scenario = OutputPath("difference.vbs");
    WriteDifference(model.Get(), bPath, scenario);
    if (HasFatalFailure())
        return outcome;

    library_->Execute(owner_, model.Get(), scenario.c_str());
    const std::wstring error = TakeErrorDescription();
    EXPECT_TRUE(error.empty()) << Narrow(error);
    const std::string resultPath = OutputPath("result.ztp");
    BSTR text = SysAllocString(Widen(resultPath).c_str());
    EXPECT_EQ(model->zrSaveModel(text, nullptr), S_OK);
    SysFreeString(text);
    outcome.differences = kvtest::DifferenceAspects(
        a, zk::ReadStructureFile(ReadOutput(resultPath)), b, PlatformValueText);

    const std::string second = OutputPath("second.vbs");
    WriteDifference(model.Get(), bPath, second);
    if (!HasFatalFailure())
        outcome.secondStatements = StatementsBeforeRights(ReadOutput(second));
    return outcome;
}
