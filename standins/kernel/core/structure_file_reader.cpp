// Reading a structure file. Everything is checked (kinds, ranges, references between classes)
// before it reaches the structure, and each failure names its place.
#include "core/json_reading.h"
#include "core/structure_file.h"

#include <cmath>
#include <limits>
#include <unordered_map>

namespace zk {

using json_reading::Json;
using json_reading::Node;

namespace {

std::string Quoted(std::string_view name) {
    return "'" + std::string(name) + "'";
}

Node CheckedRoot(const Json& document) {
    Node root(document, "");
    if (!document.is_object())
        root.Fail("expected an object (a structure file)");
    if (root.String("format", "") != kStructureFormat)
        root["format"].Fail("expected \"" + std::string(kStructureFormat) + "\"");
    const Json& version = root["version"].json();
    if (!version.is_number_integer() || version.get<std::int64_t>() != kStructureVersion)
        root["version"].Fail("unsupported version " + json_reading::Shown(version) +
                             " (this kernel reads " + std::to_string(kStructureVersion) + ")");
    root.ExpectObject({"format", "version", "name", "classes", "filters", "modules", "groups",
                       "eventItems", "eventGroups"});
    return root;
}

// The elements of an optional array member.
std::vector<Node> Elements(const Node& parent, std::string_view key) {
    std::vector<Node> elements;
    if (!parent.Has(key))
        return elements;
    Node array = parent[key];
    for (std::size_t i = 0; i < array.ArraySize(); ++i)
        elements.push_back(array[i]);
    return elements;
}

double RealValue(const Node& node) {
    const Json& json = node.json();
    if (json.is_number())
        return json.get<double>();
    if (json.is_string()) {
        std::string text = json.get<std::string>();
        if (text == "NaN")
            return std::numeric_limits<double>::quiet_NaN();
        if (text == "Infinity")
            return std::numeric_limits<double>::infinity();
        if (text == "-Infinity")
            return -std::numeric_limits<double>::infinity();
    }
    node.Fail("expected a number (or \"NaN\", \"Infinity\", \"-Infinity\")");
}

Value ReadValue(const Node& node) {
    auto type = ValueTypeFromName(node["type"].String());
    if (!type)
        node["type"].Fail("unknown value type \"" + node["type"].String() + "\"");
    if (*type == ValueType::Empty || *type == ValueType::Null) {
        node.ExpectObject({"name", "type"});
        return Value::Integer(*type, 0);
    }
    node.ExpectObject({"name", "type", "value"});
    Node value = node["value"];
    const Json& json = value.json();
    if (*type == ValueType::String)
        return Value::Text(value.String());
    if (*type == ValueType::Bool)
        return Value::Boolean(value.Boolean());
    if (IsRealType(*type)) {
        double real = RealValue(value);
        return Value::Real(*type, *type == ValueType::R4 ? static_cast<float>(real) : real);
    }
    if (IsSignedIntegerType(*type)) {
        if (json.is_number_integer() &&
            !(json.is_number_unsigned() &&
              json.get<std::uint64_t>() > std::numeric_limits<std::int64_t>::max())) {
            auto number = json.get<std::int64_t>();
            if (FitsType(*type, number))
                return Value::Integer(*type, number);
        }
    } else if (json.is_number_unsigned()) {
        auto number = json.get<std::uint64_t>();
        if (FitsType(*type, number))
            return Value::Unsigned(*type, number);
    }
    value.Fail("expected an integer in the range of " + std::string(ValueTypeName(*type)) +
               ", found " + json_reading::Shown(json));
}

AttributeData ReadAttribute(const Node& node) {
    node.ExpectObject({"guid", "name", "type", "dataType", "screenName", "aliasName", "group",
                       "functionCode", "blocked", "measureUnit", "measureEntity", "forbidInput",
                       "precision", "properties"});
    AttributeData data;
    data.guid = node.Has("guid") ? node["guid"].GuidValue() : NewGuid();
    data.name = node["name"].String();
    if (data.name.empty())
        node["name"].Fail("an attribute name must not be empty");
    data.type = node.Int32("type", 0);
    if (node.Has("dataType"))
        data.data_type = node["dataType"].GuidValue();
    data.screen_name = node.String("screenName", "");
    data.alias_name = node.String("aliasName", "");
    data.group = node.String("group", "");
    data.function_code = node.String("functionCode", "");
    data.blocked = node.Boolean("blocked", false);
    data.measure_unit = node.String("measureUnit", "");
    data.measure_entity = node.String("measureEntity", "");
    data.forbid_input = node.Boolean("forbidInput", false);
    data.precision = node.Int32("precision", 0);
    for (const Node& property : Elements(node, "properties")) {
        if (!property.json().is_object())
            property.Fail("expected an object");
        std::string name = property["name"].String();
        if (data.properties.Find(name))
            property["name"].Fail("property " + Quoted(name) + " is listed twice");
        data.properties.Set(name, ReadValue(property));
    }
    return data;
}

RestoredAttribute ReadEntry(const Node& node) {
    RestoredAttribute entry;
    if (node.Has("inherited")) {
        node.ExpectObject({"inherited"});
        entry.inherited = true;
        entry.inherited_name = node["inherited"].String();
    } else {
        entry.data = ReadAttribute(node);
    }
    return entry;
}

EventGroup ReadEventGroup(const Node& node) {
    node.ExpectObject({"name", "handlers"});
    EventGroup group;
    group.name = node["name"].String();
    if (group.name.empty())
        node["name"].Fail("an event group name must not be empty");
    for (const Node& handler : Elements(node, "handlers")) {
        handler.ExpectObject({"owner", "attribute", "kind", "code"});
        auto guid_or_null = [&](std::string_view key) {
            return handler.String(key, "").empty() ? Guid{} : handler[key].GuidValue();
        };
        group.handlers.push_back(EventHandler{guid_or_null("owner"), guid_or_null("attribute"),
                                              handler["kind"].Int32(), handler.String("code", "")});
    }
    return group;
}

// Classes: names first, then bases (checked for cycles), links, and the attribute lists in
// an order that lays out every base before the classes derived from it.
void ReadClasses(const Node& root, Structure& structure) {
    std::vector<Node> nodes = Elements(root, "classes");
    std::vector<EntityId> ids;
    for (const Node& node : nodes) {
        node.ExpectObject({"guid", "name", "screenName", "base", "blocked", "position", "children",
                           "attributes"});
        std::string name = node["name"].String();
        if (name.empty())
            node["name"].Fail("a class name must not be empty");
        if (structure.FindClass(name))
            node["name"].Fail("a class named " + Quoted(name) + " is listed twice");
        EntityId id = structure.AddClass(name);
        ids.push_back(id);
        if (node.Has("guid"))
            structure.SetClassGuid(id, node["guid"].GuidValue());
        structure.SetClassScreenName(id, node.String("screenName", ""));
        structure.SetClassBlocked(id, node.Boolean("blocked", false));
        if (node.Has("position")) {
            Node position = node["position"];
            position.ExpectObject({"x", "y"});
            structure.SetClassPosition(id, position.Int32("x", 0), position.Int32("y", 0));
        }
    }
    auto class_named = [&](const Node& reference) {
        EntityId id = structure.FindClass(reference.String());
        if (!id)
            reference.Fail("no class named " + Quoted(reference.String()));
        return id;
    };
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        if (nodes[i].Has("base") && !nodes[i]["base"].json().is_null()) {
            try {
                structure.SetBaseClass(ids[i], class_named(nodes[i]["base"]));
            } catch (const KernelError& error) {
                if (error.kind() == ErrorKind::BadFile)
                    throw;
                nodes[i]["base"].Fail(error.what());
            }
        }
        for (const Node& child : Elements(nodes[i], "children"))
            if (!structure.AddLink(ids[i], structure.Class(class_named(child)).name))
                child.Fail("the link to " + Quoted(child.String()) + " is listed twice");
    }

    std::unordered_map<EntityId, std::size_t> position;
    for (std::size_t i = 0; i < ids.size(); ++i)
        position[ids[i]] = i;
    std::vector<bool> laid_out(ids.size(), false);
    for (std::size_t start = 0; start < ids.size(); ++start) {
        std::vector<std::size_t> chain; // start and its bases not yet laid out, derived first
        for (std::size_t i = start; !laid_out[i];) {
            chain.push_back(i);
            EntityId base = structure.Class(ids[i]).base;
            if (!base)
                break;
            i = position.at(base);
        }
        for (auto i = chain.rbegin(); i != chain.rend(); ++i) {
            if (laid_out[*i])
                continue;
            std::vector<RestoredAttribute> entries;
            std::vector<Node> entry_nodes = Elements(nodes[*i], "attributes");
            NameMap<bool> seen;
            for (const Node& entry_node : entry_nodes) {
                entries.push_back(ReadEntry(entry_node));
                const auto& entry = entries.back();
                const std::string& name = entry.inherited ? entry.inherited_name : entry.data.name;
                if (!seen.emplace(name, true).second)
                    entry_node.Fail("attribute " + Quoted(name) + " is listed twice");
                EntityId base = structure.Class(ids[*i]).base;
                if (entry.inherited && (!base || !structure.FindAttribute(base, name)))
                    entry_node["inherited"].Fail(
                        base ? "base class " + Quoted(structure.Class(base).name) +
                                   " has no attribute " + Quoted(name)
                             : "the class has no base to inherit " + Quoted(name) + " from");
            }
            structure.RestoreAttributes(ids[*i], std::move(entries));
            laid_out[*i] = true;
        }
    }
}

} // namespace

Structure ReadStructureFile(std::string_view text) {
    Json document = json_reading::Parse(text);
    Node root = CheckedRoot(document);
    Structure structure;
    structure.SetName(root.String("name", ""));
    ReadClasses(root, structure);

    for (const Node& node : Elements(root, "filters")) {
        node.ExpectObject({"name", "caption", "constraints"});
        std::string name = node["name"].String();
        if (name.empty() || structure.FindFilter(name))
            node["name"].Fail(name.empty() ? "a filter name must not be empty"
                                           : "filter " + Quoted(name) + " is listed twice");
        structure.CreateFilter(name, node.String("caption", ""));
        for (const Node& constraint : Elements(node, "constraints")) {
            std::string value = constraint.String();
            if (structure.FindFilter(name)->constraint_set.contains(value))
                constraint.Fail("constraint " + Quoted(value) + " is listed twice");
            structure.AddConstraint(name, value);
        }
    }
    for (const Node& node : Elements(root, "modules")) {
        node.ExpectObject({"name", "text"});
        std::string name = node["name"].String();
        if (name.empty() || structure.FindModule(name))
            node["name"].Fail(name.empty() ? "a module name must not be empty"
                                           : "module " + Quoted(name) + " is listed twice");
        structure.SetModule(name, node.String("text", ""));
    }
    for (const Node& node : Elements(root, "groups")) {
        node.ExpectObject({"id", "name", "rights"});
        std::string id = node["id"].String();
        if (id.empty() || structure.FindGroupById(id))
            node["id"].Fail(id.empty() ? "a group identifier must not be empty"
                                       : "group " + Quoted(id) + " is listed twice");
        std::int32_t handle = structure.AddGroup(id, node.String("name", ""));
        for (const Node& entry : Elements(node, "rights")) {
            entry.ExpectObject({"key", "rights"});
            Guid key = entry["key"].GuidValue();
            if (structure.GetRights(handle, key))
                entry["key"].Fail("the rights on this key are listed twice");
            structure.SetRights(handle, key, entry["rights"].Int32());
        }
    }
    NameMap<bool> item_names;
    for (const Node& node : Elements(root, "eventItems")) {
        node.ExpectObject({"name", "allowChanges"});
        std::string name = node["name"].String();
        if (!item_names.emplace(name, true).second)
            node["name"].Fail("event item " + Quoted(name) + " is listed twice");
        structure.AddEventItem(name, node.Boolean("allowChanges", false));
    }
    for (const Node& node : Elements(root, "eventGroups")) {
        EventGroup group = ReadEventGroup(node);
        if (structure.FindEventGroup(group.name))
            node["name"].Fail("event group " + Quoted(group.name) + " is listed twice");
        structure.SetEventGroup(std::move(group));
    }
    structure.SetModified(false);
    return structure;
}

std::vector<EventGroup> ReadEventGroups(std::string_view text) {
    Json document = json_reading::Parse(text);
    Node root = CheckedRoot(document);
    std::vector<EventGroup> groups;
    for (const Node& node : Elements(root, "eventGroups"))
        groups.push_back(ReadEventGroup(node));
    return groups;
}

} // namespace zk
