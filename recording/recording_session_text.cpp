#include "recording/recording_session_text.h"

namespace kv {

std::string ScenarioFileText(const ScriptItems& items) {
    std::size_t size = 0;
    for (const std::string& item : items)
        size += item.size() + 2;
    std::string text;
    text.reserve(size);
    for (const std::string& item : items) {
        text += item;
        text += "\r\n";
    }
    return text;
}

} // namespace kv
