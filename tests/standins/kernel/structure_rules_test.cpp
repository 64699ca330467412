// The rules of the kernel's structure: inheritance, creation, links, assignment, rights and
// the modified flag.
#include "core/structure.h"
#include "structure_description.h"

#include <gtest/gtest.h>

#include <functional>

namespace zk {
namespace {

using testing::AttributeList;

// B(b1, b2) <- D(d1) <- E(e1): D derives from B, E from D.
Structure Hierarchy() {
    Structure s;
    EntityId b = s.AddClass("B");
    s.AddAttribute(b, "b1");
    s.AddAttribute(b, "b2");
    EntityId d = s.AddClass("D");
    s.AddAttribute(d, "d1");
    s.SetBaseClass(d, b);
    EntityId e = s.AddClass("E");
    s.AddAttribute(e, "e1");
    s.SetBaseClass(e, d);
    return s;
}

EntityId Attr(const Structure& s, std::string_view cls, std::string_view name) {
    return s.FindAttribute(s.FindClass(cls), name);
}

struct InheritanceCase {
    const char* name;
    std::function<void(Structure&)> steps;
    const char* b;
    const char* d;
    const char* e;
};

class Inheritance : public ::testing::TestWithParam<InheritanceCase> {};

TEST_P(Inheritance, AttributeListsFollowTheirBases) {
    Structure s = Hierarchy();
    GetParam().steps(s);
    EXPECT_EQ(AttributeList(s, "B"), GetParam().b);
    EXPECT_EQ(AttributeList(s, "D"), GetParam().d);
    EXPECT_EQ(AttributeList(s, "E"), GetParam().e);
}

// Entries marked ^ are inherited.
const InheritanceCase kInheritanceCases[] = {
    {"InheritedEntriesFollowOwnOnes", [](Structure&) {}, "b1 b2", "d1 b1^ b2^", "e1 d1^ b1^ b2^"},
    {"BaseGainsAnAttribute", [](Structure& s) { s.AddAttribute(s.FindClass("B"), "b3"); },
     "b1 b2 b3", "d1 b1^ b2^ b3^", "e1 d1^ b1^ b2^ b3^"},
    {"BaseLosesAnAttribute", [](Structure& s) { s.RemoveAttribute(s.FindClass("B"), "b1"); }, "b2",
     "d1 b2^", "e1 d1^ b2^"},
    {"OwnAttributeOfTheSameNameWins", [](Structure& s) { s.AddAttribute(s.FindClass("B"), "d1"); },
     "b1 b2 d1", "d1 b1^ b2^", "e1 d1^ b1^ b2^"},
    {"OwnCopySurvivesItsSource",
     [](Structure& s) {
         s.MakeOwn(Attr(s, "D", "b1"));
         s.RemoveAttribute(s.FindClass("B"), "b1");
     },
     "b2", "d1 b1 b2^", "e1 d1^ b1^ b2^"},
    {"NewBaseReplacesInheritedEntries",
     [](Structure& s) {
         EntityId c = s.AddClass("C");
         s.AddAttribute(c, "c1");
         s.SetBaseClass(s.FindClass("D"), c);
     },
     "b1 b2", "d1 c1^", "e1 d1^ c1^"},
    {"NoBaseNoInheritedEntries", [](Structure& s) { s.SetBaseClass(s.FindClass("D"), 0); }, "b1 b2",
     "d1", "e1 d1^"},
    {"RenamedBaseAttributeKeepsItsPlace",
     [](Structure& s) { s.RenameAttribute(Attr(s, "B", "b1"), "bx"); }, "bx b2", "d1 bx^ b2^",
     "e1 d1^ bx^ b2^"},
    {"RenamingThroughAViewRenamesTheDeclaringAttribute",
     [](Structure& s) { s.RenameAttribute(Attr(s, "E", "b2"), "by"); }, "b1 by", "d1 b1^ by^",
     "e1 d1^ b1^ by^"},
    {"RemovedOwnAttributeLetsTheBaseShowThrough",
     [](Structure& s) {
         EntityId d = s.FindClass("D");
         s.SetBaseClass(d, 0);
         s.AddAttribute(d, "b1");
         s.SetBaseClass(d, s.FindClass("B"));
         s.RemoveAttribute(d, "b1");
     },
     "b1 b2", "d1 b2^ b1^", "e1 d1^ b2^ b1^"},
    {"SwapReordersOneClassOnly",
     [](Structure& s) { s.SwapAttributes(s.FindClass("D"), "d1", "b2"); }, "b1 b2", "b2^ b1^ d1",
     "e1 d1^ b1^ b2^"},
    {"SettingTheSameBaseAgainKeepsTheOrder",
     [](Structure& s) {
         EntityId d = s.FindClass("D");
         s.SwapAttributes(d, "d1", "b2");
         s.SetBaseClass(d, s.FindClass("B"));
     },
     "b1 b2", "b2^ b1^ d1", "e1 d1^ b1^ b2^"},
    {"RemovedBaseClassLeavesItsDerivedClassesWithoutBase", [](Structure& s) { s.RemoveClass("D"); },
     "b1 b2", "(no class)", "e1"},
};

INSTANTIATE_TEST_SUITE_P(Structure, Inheritance, ::testing::ValuesIn(kInheritanceCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(StructureRules, AddingAnExistingNameReturnsTheEntryWithoutChange) {
    Structure s = Hierarchy();
    s.SetModified(false);
    EntityId d = s.FindClass("D");
    EXPECT_EQ(s.AddClass("D"), d);
    EXPECT_EQ(s.AddAttribute(d, "b1"), Attr(s, "D", "b1")); // inherited entries count
    EXPECT_EQ(s.AddAttribute(d, "d1"), Attr(s, "D", "d1"));
    EXPECT_FALSE(s.Modified());
    EXPECT_EQ(AttributeList(s, "D"), "d1 b1^ b2^");
}

TEST(StructureRules, InheritedEntriesReadAndWriteTheDeclaringAttribute) {
    Structure s = Hierarchy();
    EntityId view = Attr(s, "E", "b1");
    EntityId declaring = Attr(s, "B", "b1");
    EXPECT_EQ(s.Attribute(s.Attribute(view).inherited_from).owner, s.FindClass("D"));
    EXPECT_EQ(s.Declaring(view).guid, s.Declaring(declaring).guid);
    s.EditAttribute(view, [](AttributeData& a) { a.screen_name = "through"; });
    EXPECT_EQ(s.Declaring(declaring).screen_name, "through");

    s.MakeOwn(Attr(s, "D", "b1"));
    EntityId own = Attr(s, "D", "b1");
    EXPECT_EQ(s.Attribute(own).inherited_from, 0u);
    EXPECT_EQ(s.Declaring(own).guid, s.Declaring(declaring).guid);
    s.EditAttribute(own, [](AttributeData& a) { a.screen_name = "copy"; });
    EXPECT_EQ(s.Declaring(declaring).screen_name, "through");
    EXPECT_EQ(s.Declaring(view).screen_name, "copy"); // E now inherits D's own copy
}

TEST(StructureRules, RefusedChanges) {
    Structure s = Hierarchy();
    EntityId b = s.FindClass("B"), d = s.FindClass("D"), e = s.FindClass("E");
    auto kind = [](const std::function<void()>& change) {
        try {
            change();
        } catch (const KernelError& error) {
            return error.kind();
        }
        return ErrorKind::Failed;
    };
    EXPECT_EQ(kind([&] { s.RemoveAttribute(d, "b1"); }), ErrorKind::InvalidArgument);
    EXPECT_EQ(kind([&] { s.SetBaseClass(b, e); }), ErrorKind::InvalidArgument); // a cycle
    EXPECT_EQ(kind([&] { s.SetBaseClass(b, b); }), ErrorKind::InvalidArgument);
    EXPECT_EQ(kind([&] { s.RenameClass(d, "B"); }), ErrorKind::InvalidArgument);
    EXPECT_EQ(kind([&] { s.RenameAttribute(Attr(s, "D", "d1"), "b1"); }),
              ErrorKind::InvalidArgument);
    EXPECT_EQ(kind([&] { s.AddLink(b, "Missing"); }), ErrorKind::NotFound);
    EXPECT_EQ(kind([&] { s.SwapAttributes(d, "d1", "missing"); }), ErrorKind::NotFound);
    EXPECT_EQ(kind([&] { s.AttributeAt(d, 3); }), ErrorKind::InvalidArgument);
    EXPECT_EQ(kind([&] { s.SetRights(0, Guid{}, 1); }), ErrorKind::InvalidArgument);
    EXPECT_EQ(kind([&] { s.AddClass(""); }), ErrorKind::InvalidArgument);
    EntityId gone = Attr(s, "B", "b2");
    s.RemoveClass("B");
    EXPECT_EQ(kind([&] { s.Declaring(gone); }), ErrorKind::Removed);
    EXPECT_EQ(kind([&] { s.Class(b); }), ErrorKind::Removed);
    EXPECT_EQ(AttributeList(s, "D"), "d1");
}

TEST(StructureRules, LinksAreKeptOnceAndGoWithTheirClasses) {
    Structure s = Hierarchy();
    EntityId b = s.FindClass("B"), d = s.FindClass("D"), e = s.FindClass("E");
    EXPECT_EQ(s.AddLink(b, "D"), d);
    EXPECT_EQ(s.AddLink(b, "E"), e);
    EXPECT_EQ(s.AddLink(d, "B"), b);
    s.SetModified(false);
    EXPECT_EQ(s.AddLink(b, "D"), 0u); // exists: nothing happens
    EXPECT_EQ(s.RemoveLink(e, "B"), 0u);
    EXPECT_FALSE(s.Modified());
    s.RenameClass(d, "D2");
    EXPECT_EQ(s.FindChild(b, "D2"), d);

    s.RemoveClass("D2");
    ASSERT_EQ(s.Class(b).children.size(), 1u);
    EXPECT_EQ(s.Class(b).children[0], e);
    EXPECT_TRUE(s.Class(b).parents.empty());
    EXPECT_EQ(s.Class(e).base, 0u);
}

TEST(StructureRules, AssignedClassTakesTheDefinitionOnly) {
    Structure source = Hierarchy();
    EntityId sd = source.FindClass("D");
    source.SetClassScreenName(sd, "Derived");
    source.SetClassBlocked(sd, true);
    source.SetClassPosition(sd, 40, -7);
    source.EditAttribute(Attr(source, "D", "d1"), [](AttributeData& a) {
        a.type = 1;
        a.properties.Set("p", Value::Text("v"));
    });
    source.AddLink(sd, "E");
    std::int32_t group = source.AddGroup("g", "G");
    source.SetRights(group, source.Class(sd).guid, 7);

    Structure target;
    EntityId t = target.AddClass("T");
    target.AddAttribute(t, "stale");
    target.AssignClass(t, source, sd);
    const ClassData& copy = target.Class(t);
    EXPECT_EQ(copy.name, "T");
    EXPECT_EQ(copy.guid, source.Class(sd).guid);
    EXPECT_EQ(target.FindClassByGuid(copy.guid), t);
    EXPECT_EQ(copy.screen_name, "Derived");
    EXPECT_TRUE(copy.blocked);
    EXPECT_EQ(copy.x, 40);
    EXPECT_EQ(copy.y, -7);
    EXPECT_EQ(copy.base, 0u);
    EXPECT_TRUE(copy.children.empty());
    EXPECT_EQ(target.GroupCount(), 0u);
    EXPECT_EQ(AttributeList(target, "T"), "d1"); // own attributes only, the old ones gone
    EXPECT_EQ(target.Declaring(Attr(target, "T", "d1")), source.Declaring(Attr(source, "D", "d1")));
}

TEST(StructureRules, AssignedAttributeTakesEverythingButTheName) {
    Structure s = Hierarchy();
    EntityId from = Attr(s, "B", "b1");
    s.EditAttribute(from, [](AttributeData& a) {
        a.type = 3;
        a.data_type = NewGuid();
        a.screen_name = "screen";
        a.alias_name = "alias";
        a.group = "group";
        a.function_code = "x = 1\r\ny = 2";
        a.blocked = a.forbid_input = true;
        a.measure_unit = "kg";
        a.measure_entity = "mass";
        a.precision = 3;
        a.properties.Set("p", Value::Integer(ValueType::I4, 5));
    });
    EntityId to = Attr(s, "D", "d1");
    s.AssignAttribute(to, s.Declaring(from));
    AttributeData expected = s.Declaring(from);
    expected.name = "d1";
    EXPECT_EQ(s.Declaring(to), expected);
}

TEST(StructureRules, GroupsComeInCreationOrderWithOpaqueHandles) {
    Structure s;
    std::int32_t first = s.AddGroup("admins", "Administrators");
    std::int32_t second = s.AddGroup("users", "Users");
    EXPECT_NE(first, 0);
    EXPECT_NE(second, 0);
    EXPECT_EQ(s.NextGroup(0), first);
    EXPECT_EQ(s.NextGroup(first), second);
    EXPECT_EQ(s.NextGroup(second), 0);
    EXPECT_EQ(s.AddGroup("users", "Renamed"), second);
    EXPECT_EQ(s.FindGroupById("users")->name, "Renamed");

    Guid key = NewGuid();
    EXPECT_FALSE(s.GetRights(first, key));
    EXPECT_FALSE(s.GetRights(0, key));
    s.SetRights(first, key, 0);
    EXPECT_EQ(s.GetRights(first, key), 0);
    EXPECT_FALSE(s.GetRights(second, key));
    s.RemoveRights(first, key);
    EXPECT_FALSE(s.GetRights(first, key));
}

TEST(StructureRules, EveryChangeSetsTheModifiedFlag) {
    const std::pair<const char*, std::function<void(Structure&)>> changes[] = {
        {"add class", [](Structure& s) { s.AddClass("N"); }},
        {"remove class", [](Structure& s) { s.RemoveClass("E"); }},
        {"rename class", [](Structure& s) { s.RenameClass(s.FindClass("E"), "E2"); }},
        {"screen name", [](Structure& s) { s.SetClassScreenName(s.FindClass("E"), "x"); }},
        {"base", [](Structure& s) { s.SetBaseClass(s.FindClass("E"), 0); }},
        {"position", [](Structure& s) { s.SetClassPosition(s.FindClass("E"), 1, 2); }},
        {"link", [](Structure& s) { s.AddLink(s.FindClass("E"), "B"); }},
        {"add attribute", [](Structure& s) { s.AddAttribute(s.FindClass("E"), "n"); }},
        {"remove attribute", [](Structure& s) { s.RemoveAttribute(s.FindClass("E"), "e1"); }},
        {"swap", [](Structure& s) { s.SwapAttributes(s.FindClass("E"), "e1", "d1"); }},
        {"own copy", [](Structure& s) { s.MakeOwn(Attr(s, "E", "d1")); }},
        {"attribute field",
         [](Structure& s) { s.EditAttribute(Attr(s, "E", "e1"), [](auto& a) { a.type = 2; }); }},
        {"filter", [](Structure& s) { s.CreateFilter("F", "caption"); }},
        {"module", [](Structure& s) { s.SetModule("M", "text"); }},
        {"group", [](Structure& s) { s.AddGroup("g", "G"); }},
        {"event item", [](Structure& s) { s.AddEventItem("OnSave", true); }},
        {"event handler",
         [](Structure& s) { s.SetEventHandler("UserGroup.xml", Guid{}, Guid{}, 3, "x"); }},
    };
    for (const auto& [name, change] : changes) {
        Structure s = Hierarchy();
        s.SetModified(false);
        change(s);
        EXPECT_TRUE(s.Modified()) << name;
    }
}

TEST(StructureRules, EventGroupHandlersByOwner) {
    EventGroup group{"UserGroup.xml", {}};
    Guid cls = NewGuid(), attribute = NewGuid();
    SetHandlerCode(group, Guid{}, Guid{}, 0, "model");
    SetHandlerCode(group, cls, Guid{}, 19, "class");
    SetHandlerCode(group, cls, attribute, 23, "attribute");
    SetHandlerCode(group, cls, Guid{}, 20, "class again");
    auto owners = HandlerOwners(group);
    ASSERT_EQ(owners.size(), 3u);
    EXPECT_EQ(owners[1], std::pair(cls, Guid{}));
    EXPECT_EQ(HandlerCode(group, cls, Guid{}, 20), "class again");
    EXPECT_EQ(HandlerCode(group, cls, Guid{}, 21), "");
    SetHandlerCode(group, Guid{}, Guid{}, 0, "");
    EXPECT_EQ(HandlerOwners(group).size(), 2u);
}

} // namespace
} // namespace zk
