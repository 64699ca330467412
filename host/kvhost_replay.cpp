// kvhost replay: a scenario run on a model that holds only another structure's user groups, the
// model on which the recording of that whole structure gives the structure again.
#include "kvhost_commands.h"

#include "kvhost_support.h"
#include "model_scenarios.h"

#include <cstdio>

namespace kvhost {

void ReplayScenario(const std::string& scenario, const std::string& groups_from,
                    const std::string& save_path) {
    const std::vector<UserGroup> groups = UserGroups(LoadModel(groups_from).Get());
    ComPtr<IZModel> model = NewModel();
    ComPtr<IZModelAdmin> admin;
    Check(model->QueryInterface(__uuidof(IZModelAdmin),
                                reinterpret_cast<void**>(admin.GetAddressOf())),
          "reaching the kernel's administration interface");
    for (const UserGroup& group : groups) {
        LONG handle = 0;
        Check(admin->zrAddGroup(Text(group.id), Text(group.name), &handle), "adding a group");
    }
    const bool changed = ExecuteScenario(model.Get(), scenario);
    std::printf("%s\n", changed ? "model changed" : "model unchanged");
    Check(model->zrSaveModel(Text(Widen(save_path)), nullptr), "storing the structure");
    std::printf("stored %s\n", save_path.c_str());
}

} // namespace kvhost
