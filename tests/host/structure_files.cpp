#include "structure_files.h"

#include "platform/com_owners.h"
#include "model_description.h"

using namespace kv;

using Microsoft::WRL::ComPtr;

std::wstring WideFromAnsi(const std::string& ansi) {
    const int size =
        MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), size);
    return wide;
}

ComPtr<IZModel> NewModel() {
    CLSID clsid;
    Check(CLSIDFromProgID(L"zkernel.ZModel", &clsid), "zkernel.ZModel ProgID");
    ComPtr<IZModel> model;
    Check(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&model)),
          "creating zkernel.ZModel");
    return model;
}

ComPtr<IZModel> LoadModel(const std::string& path) {
    ComPtr<IZModel> model = NewModel();
    Check(model->zrLoadModel(Bstr(WideFromAnsi(path)).Get(), nullptr, 2), "loading a structure");
    return model;
}

void SaveModel(IZModel* model, const std::string& path) {
    Check(model->zrSaveModel(Bstr(WideFromAnsi(path)).Get(), nullptr), "storing a structure");
}
