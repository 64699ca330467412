// Writing a structure file. Keys come in a fixed, readable order; everything is written, also
// defaults, so a file shows the whole structure.
#include "core/json_reading.h"
#include "core/structure_file.h"

#include <cmath>

namespace zk {

using json_reading::Json;

namespace {

Json RealJson(double real) {
    // JSON has no NaN or infinities: they are written as text.
    if (std::isnan(real))
        return "NaN";
    if (std::isinf(real))
        return real > 0 ? "Infinity" : "-Infinity";
    return real;
}

Json ValueJson(const std::string& name, const Value& value) {
    Json out = Json::object();
    out["name"] = name;
    out["type"] = std::string(ValueTypeName(value.type));
    if (value.type == ValueType::String)
        out["value"] = value.text;
    else if (value.type == ValueType::Bool)
        out["value"] = value.integer != 0;
    else if (IsSignedIntegerType(value.type))
        out["value"] = value.integer;
    else if (IsUnsignedIntegerType(value.type))
        out["value"] = value.unsigned_integer;
    else if (IsRealType(value.type))
        out["value"] = RealJson(value.real);
    return out;
}

Json AttributeJson(const AttributeData& data) {
    Json out = Json::object();
    out["guid"] = GuidText(data.guid);
    out["name"] = data.name;
    out["type"] = data.type;
    out["dataType"] = GuidText(data.data_type);
    out["screenName"] = data.screen_name;
    out["aliasName"] = data.alias_name;
    out["group"] = data.group;
    out["functionCode"] = data.function_code;
    out["blocked"] = data.blocked;
    out["measureUnit"] = data.measure_unit;
    out["measureEntity"] = data.measure_entity;
    out["forbidInput"] = data.forbid_input;
    out["precision"] = data.precision;
    Json properties = Json::array();
    for (const auto& [name, value] : data.properties.Items())
        properties.push_back(ValueJson(name, value));
    out["properties"] = std::move(properties);
    return out;
}

Json ClassJson(const Structure& structure, const ClassData& cls) {
    Json out = Json::object();
    out["guid"] = GuidText(cls.guid);
    out["name"] = cls.name;
    out["screenName"] = cls.screen_name;
    out["base"] = cls.base ? Json(structure.Class(cls.base).name) : Json(nullptr);
    out["blocked"] = cls.blocked;
    out["position"] = Json{{"x", cls.x}, {"y", cls.y}};
    Json children = Json::array();
    for (EntityId child : cls.children)
        children.push_back(structure.Class(child).name);
    out["children"] = std::move(children);
    Json attributes = Json::array();
    for (EntityId entry : cls.attributes) {
        const AttributeEntry& attribute = structure.Attribute(entry);
        if (attribute.inherited_from)
            attributes.push_back(Json{{"inherited", structure.Declaring(entry).name}});
        else
            attributes.push_back(AttributeJson(attribute.data));
    }
    out["attributes"] = std::move(attributes);
    return out;
}

Json EventGroupJson(const EventGroup& group) {
    Json handlers = Json::array();
    for (const auto& handler : group.handlers) {
        Json out = Json::object();
        out["owner"] = handler.owner.IsNull() ? "" : GuidText(handler.owner);
        out["attribute"] = handler.attribute.IsNull() ? "" : GuidText(handler.attribute);
        out["kind"] = handler.kind;
        out["code"] = handler.code;
        handlers.push_back(std::move(out));
    }
    Json out = Json::object();
    out["name"] = group.name;
    out["handlers"] = std::move(handlers);
    return out;
}

std::string Dump(const Json& document) {
    // Texts from COM are valid UTF-8 by construction; replacing keeps a bad byte from failing
    // the store.
    return document.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

} // namespace

std::string WriteStructureFile(const Structure& structure) {
    Json document = Json::object();
    document["format"] = std::string(kStructureFormat);
    document["version"] = kStructureVersion;
    document["name"] = structure.Name();

    Json classes = Json::array();
    for (std::size_t i = 0; i < structure.ClassCount(); ++i)
        classes.push_back(ClassJson(structure, structure.Class(structure.ClassAt(i))));
    document["classes"] = std::move(classes);

    Json filters = Json::array();
    for (std::size_t i = 0; i < structure.FilterCount(); ++i) {
        const Filter& filter = structure.FilterAt(i);
        filters.push_back(Json{{"name", filter.name},
                               {"caption", filter.caption},
                               {"constraints", filter.constraints}});
    }
    document["filters"] = std::move(filters);

    Json modules = Json::array();
    for (std::size_t i = 0; i < structure.ModuleCount(); ++i) {
        const Module& module = structure.ModuleAt(i);
        modules.push_back(Json{{"name", module.name}, {"text", module.text}});
    }
    document["modules"] = std::move(modules);

    Json groups = Json::array();
    for (std::size_t i = 0; i < structure.GroupCount(); ++i) {
        const Group& group = structure.GroupAt(i);
        Json rights = Json::array();
        for (const auto& [key, mask] : RightsInKeyOrder(group))
            rights.push_back(Json{{"key", GuidText(key)}, {"rights", mask}});
        groups.push_back(Json{{"id", group.id}, {"name", group.name}, {"rights", rights}});
    }
    document["groups"] = std::move(groups);

    Json items = Json::array();
    for (std::size_t i = 0; i < structure.EventItemCount(); ++i) {
        const EventItem& item = structure.EventItemAt(i);
        items.push_back(Json{{"name", item.name}, {"allowChanges", item.allow_changes}});
    }
    document["eventItems"] = std::move(items);

    Json event_groups = Json::array();
    for (const auto& group : structure.EventGroups())
        event_groups.push_back(EventGroupJson(group));
    document["eventGroups"] = std::move(event_groups);
    return Dump(document);
}

std::string ReplaceEventGroup(std::string_view text, const EventGroup& group) {
    ReadEventGroups(text); // the file must be a readable structure file
    Json document = json_reading::Parse(text);
    Json& groups = document["eventGroups"];
    if (groups.is_null())
        groups = Json::array();
    for (auto& existing : groups)
        if (existing["name"] == group.name) {
            existing = EventGroupJson(group);
            return Dump(document);
        }
    groups.push_back(EventGroupJson(group));
    return Dump(document);
}

} // namespace zk
