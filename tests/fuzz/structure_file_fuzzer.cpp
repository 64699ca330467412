// libFuzzer target for the kernel stand-in's structure file: any text either loads or fails
// with a BadFile error that names the place; what loads is written as a file that loads again
// and is written the same; an event group put into a loaded file is found there afterwards.
#include "core/kernel_error.h"
#include "fuzz_require.h"
#include "core/structure_file.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace {

// Reads text that the kernel wrote itself: any failure is a fault.
zk::Structure ReadOwnFile(const std::string& text, const char* what) {
    try {
        return zk::ReadStructureFile(text);
    } catch (const zk::KernelError& error) {
        std::fprintf(stderr, "%s\n%s\n", error.what(), text.c_str());
        Require(false, what);
    }
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    zk::Structure structure;
    try {
        structure = zk::ReadStructureFile(text);
    } catch (const zk::KernelError& error) {
        Require(error.kind() == zk::ErrorKind::BadFile, "a bad file fails with another kind");
        Require(std::string_view(error.what()).starts_with("structure file, at "),
                "a bad file's message does not name the place");
        return 0;
    }
    const std::string written = zk::WriteStructureFile(structure);
    Require(zk::WriteStructureFile(ReadOwnFile(written, "a written file does not load")) == written,
            "a written file does not load as the same structure");

    zk::EventGroup group;
    group.name = "fuzz group";
    group.handlers.push_back(zk::EventHandler{{}, {}, 3, "code"});
    const std::string replaced = zk::ReplaceEventGroup(text, group);
    const zk::Structure with_group =
        ReadOwnFile(replaced, "a file with a new event group does not load");
    const zk::EventGroup* found = with_group.FindEventGroup(group.name);
    Require(found && found->handlers.size() == 1 && found->handlers[0].code == "code",
            "the event group put into the file is not there");
    return 0;
}
