// The aspect comparison of the convergence test notices a change in each aspect the difference
// carries and none in the aspects it leaves alone, on the hand-written pair of structures.
#include "difference_aspects.h"

#include "core/structure_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

namespace kvtest {
namespace {

using zk::EntityId;
using zk::Structure;

Structure ReadFixture(const char* name) {
    std::ifstream file(std::string(KV_DIFFERENCE_FIXTURES) + name, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return zk::ReadStructureFile(text.str());
}

std::string SimpleText(const zk::Value& value) {
    switch (value.type) {
    case zk::ValueType::String:
        return value.text;
    case zk::ValueType::Empty:
        return "";
    default:
        return std::to_string(value.integer);
    }
}

EntityId ClassOf(const Structure& s, const char* name) {
    const EntityId id = s.FindClass(name);
    if (!id)
        throw std::logic_error(std::string("no class ") + name);
    return id;
}

EntityId AttributeOf(const Structure& s, const char* cls, const char* name) {
    const EntityId id = s.FindAttribute(ClassOf(s, cls), name);
    if (!id)
        throw std::logic_error(std::string("no attribute ") + name);
    return id;
}

void EditAttribute(Structure& s, const char* cls, const char* name,
                   const std::function<void(zk::AttributeData&)>& edit) {
    s.EditAttribute(AttributeOf(s, cls, name), edit);
}

struct Change {
    const char* what;
    std::function<void(Structure&)> apply;
};

class DifferenceAspectsTest : public ::testing::Test {
protected:
    std::vector<std::string> Compare(const Structure& result) {
        return DifferenceAspects(original_, result, target_, SimpleText);
    }

    const Structure original_ = ReadFixture("current.ztp");
    const Structure target_ = ReadFixture("target.ztp");
};

TEST_F(DifferenceAspectsTest, TheTargetItselfHasNoDifference) {
    EXPECT_EQ(Compare(target_), std::vector<std::string>{});
}

TEST_F(DifferenceAspectsTest, EachCarriedAspectIsNoticed) {
    const auto rights = [](Structure& s, const char* group, const zk::Guid& key,
                           std::optional<std::int32_t> value) {
        const std::int32_t handle = s.FindGroupById(group)->handle;
        value ? s.SetRights(handle, key, *value) : s.RemoveRights(handle, key);
    };
    const Change changes[] = {
        {"class missing", [](Structure& s) { s.RemoveClass("Tool"); }},
        {"class not expected", [](Structure& s) { s.AddClass("Legacy"); }},
        {"screen name", [](Structure& s) { s.SetClassScreenName(ClassOf(s, "Item"), "Item"); }},
        {"blocked", [](Structure& s) { s.SetClassBlocked(ClassOf(s, "Item"), false); }},
        {"link added", [](Structure& s) { s.AddLink(ClassOf(s, "Part"), "Operation"); }},
        {"link removed", [](Structure& s) { s.RemoveLink(ClassOf(s, "Tool"), "Operation"); }},
        {"attribute missing",
         [](Structure& s) { s.RemoveAttribute(ClassOf(s, "Operation"), "Shift"); }},
        {"attribute not expected", [](Structure& s) { s.AddAttribute(ClassOf(s, "Tool"), "Old"); }},
        {"own order",
         [](Structure& s) { s.SwapAttributes(ClassOf(s, "Operation"), "Setup", "Duration"); }},
        {"type",
         [](Structure& s) { EditAttribute(s, "Part", "Mass", [](auto& a) { a.type = 1; }); }},
        {"data type",
         [](Structure& s) { EditAttribute(s, "Part", "Mass", [](auto& a) { a.data_type = {}; }); }},
        {"function code",
         [](Structure& s) {
             EditAttribute(s, "Part", "Mass", [](auto& a) { a.function_code = ""; });
         }},
        {"attribute blocked",
         [](Structure& s) {
             EditAttribute(s, "Part", "Mass", [](auto& a) { a.blocked = false; });
         }},
        {"unit",
         [](Structure& s) {
             EditAttribute(s, "Item", "Code", [](auto& a) { a.measure_unit = "pcs"; });
         }},
        {"entity",
         [](Structure& s) {
             EditAttribute(s, "Part", "Mass", [](auto& a) { a.measure_entity = ""; });
         }},
        {"forbid input",
         [](Structure& s) {
             EditAttribute(s, "Part", "Mass", [](auto& a) { a.forbid_input = false; });
         }},
        {"property value",
         [](Structure& s) {
             EditAttribute(s, "Part", "Mass",
                           [](auto& a) { a.properties.Set("Min", zk::Value::Text("2")); });
         }},
        {"property missing",
         [](Structure& s) {
             EditAttribute(s, "Part", "Mass", [](auto& a) { a.properties.Remove("Note"); });
         }},
        {"filter missing", [](Structure& s) { s.RemoveFilter("New"); }},
        {"filter not expected", [](Structure& s) { s.CreateFilter("Gone", "Old"); }},
        {"constraint", [](Structure& s) { s.AddConstraint("Active", "Operation"); }},
        {"class rights",
         [&](Structure& s) { rights(s, "admins", s.Class(ClassOf(s, "Item")).guid, 1); }},
        {"attribute rights removed",
         [&](Structure& s) {
             rights(s, "workers", s.Declaring(AttributeOf(s, "Operation", "Duration")).guid,
                    std::nullopt);
         }},
        {"new class identifier",
         [](Structure& s) { s.SetClassGuid(ClassOf(s, "Tool"), zk::NewGuid()); }},
        {"new class position", [](Structure& s) { s.SetClassPosition(ClassOf(s, "Tool"), 0, 20); }},
        {"new class base",
         [](Structure& s) { s.SetBaseClass(ClassOf(s, "Tool"), ClassOf(s, "Operation")); }},
        {"new attribute identifier",
         [](Structure& s) {
             s.SetAttributeGuid(AttributeOf(s, "Operation", "Setup"), zk::NewGuid());
         }},
        {"new attribute screen name",
         [](Structure& s) {
             EditAttribute(s, "Operation", "Shift", [](auto& a) { a.screen_name = "Смена"; });
         }},
    };
    for (const Change& change : changes) {
        Structure result = target_;
        change.apply(result);
        EXPECT_FALSE(Compare(result).empty()) << change.what;
    }
}

TEST_F(DifferenceAspectsTest, AspectsTheDifferenceLeavesAloneAreNotCompared) {
    const Change changes[] = {
        {"module", [](Structure& s) { s.SetModule("Common", "x = 1"); }},
        {"common identifiers, rights kept under the new ones",
         [](Structure& s) {
             const zk::Guid key = zk::NewGuid();
             s.SetClassGuid(ClassOf(s, "Operation"), key);
             s.SetRights(s.FindGroupById("workers")->handle, key, 1);
             s.SetAttributeGuid(AttributeOf(s, "Operation", "Cost"), zk::NewGuid());
         }},
        {"common class position",
         [](Structure& s) { s.SetClassPosition(ClassOf(s, "Item"), 5, 5); }},
        {"common attribute screen name, alias, group, precision",
         [](Structure& s) {
             EditAttribute(s, "Part", "Mass", [](auto& a) {
                 a.screen_name = "x";
                 a.alias_name = "y";
                 a.group = "z";
                 a.precision = 4;
             });
         }},
        {"filter caption", [](Structure& s) { s.CreateFilter("Active", "other"); }},
        {"constraint order",
         [](Structure& s) {
             s.RemoveConstraint("Active", "Part");
             s.AddConstraint("Active", "Part");
         }},
        {"property only the result has",
         [](Structure& s) {
             EditAttribute(s, "Part", "Mass",
                           [](auto& a) { a.properties.Set("Extra", zk::Value::Text("x")); });
         }},
        {"a number for its text",
         [](Structure& s) {
             EditAttribute(s, "Part", "Mass",
                           [](auto& a) { a.properties.Set("Min", zk::Value::Text("1")); });
         }},
    };
    for (const Change& change : changes) {
        Structure result = target_;
        change.apply(result);
        EXPECT_EQ(Compare(result), std::vector<std::string>{}) << change.what;
    }
}

} // namespace
} // namespace kvtest
