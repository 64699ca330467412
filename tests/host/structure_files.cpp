#include "structure_files.h"

#include "platform/com_owners.h"
#include "model_description.h"
#include "support/stand_in_model.h"

using namespace kv;

using Microsoft::WRL::ComPtr;

ComPtr<IZModel> NewModel() {
    return kvtest::StandInModel().Model();
}

ComPtr<IZModel> LoadModel(const std::string& path) {
    ComPtr<IZModel> model = NewModel();
    Check(model->zrLoadModel(Bstr(Widen(path)).Get(), nullptr, 2), "loading a structure");
    return model;
}

void SaveModel(IZModel* model, const std::string& path) {
    Check(model->zrSaveModel(Bstr(Widen(path)).Get(), nullptr), "storing a structure");
}
