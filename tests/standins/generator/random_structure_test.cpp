// The random-structure generator: one seed gives one structure on every build, the shape is
// honoured, and the structures hold what a fidelity test needs to catch faults.
#include "random_structure.h"

#include "core/structure_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace kvgen {
namespace {

using zk::EntityId;
using zk::Structure;

std::uint64_t Fnv1a(const std::string& text) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (const unsigned char c : text)
        hash = (hash ^ c) * 0x100000001b3ull;
    return hash;
}

struct PinnedCase {
    std::uint32_t seed;
    Shape shape;
    const char* first_class; // the first class of the structure's order
    std::uint64_t file_hash; // of the whole structure file
};

// Pinned once; the same values must come out of the native 64-bit and the 32-bit Windows build,
// and stay so, as benchmarks and fixed-seed tests rely on them.
TEST(RandomStructure, PinnedSeedsGiveTheSameStructureOnEveryBuild) {
    const PinnedCase cases[] = {
        {1, Shape{}, "Part 7", 11654981344669870884ull},
        {7, Shape{}, "Операция 2", 5773753608247308109ull},
        {42, Shape::Bare(), "Переход 0", 5610832932620939766ull},
    };
    for (const PinnedCase& c : cases) {
        const Structure structure = RandomStructure(c.seed, c.shape);
        const std::string file = zk::WriteStructureFile(structure);
        EXPECT_EQ(structure.Class(structure.ClassAt(0)).name, c.first_class) << "seed " << c.seed;
        EXPECT_EQ(Fnv1a(file), c.file_hash) << "seed " << c.seed;
        EXPECT_EQ(zk::WriteStructureFile(RandomStructure(c.seed, c.shape)), file)
            << "seed " << c.seed << " drawn twice";
    }
    EXPECT_NE(zk::WriteStructureFile(RandomStructure(1)),
              zk::WriteStructureFile(RandomStructure(2)));
}

std::size_t OwnEntries(const Structure& structure, const zk::ClassData& cls) {
    std::size_t own = 0;
    for (const EntityId entry : cls.attributes)
        own += structure.Attribute(entry).inherited_from ? 0 : 1;
    return own;
}

TEST(RandomStructure, ShapeIsHonoured) {
    Shape wide;
    wide.classes = 30;
    wide.attributes_per_class = 7;
    wide.groups = 5;
    wide.filters = 4;
    wide.modules = 6;
    wide.cut_percent = 0;
    const Shape shapes[] = {wide, Shape::Bare(), Shape::Benchmark(500)};
    for (const Shape& shape : shapes) {
        const Structure structure = RandomStructure(3, shape);
        ASSERT_EQ(structure.ClassCount(), static_cast<std::size_t>(shape.classes));
        EXPECT_EQ(structure.GroupCount(), static_cast<std::size_t>(shape.groups));
        EXPECT_EQ(structure.FilterCount(), static_cast<std::size_t>(shape.filters));
        EXPECT_EQ(structure.ModuleCount(), static_cast<std::size_t>(shape.modules));
        for (std::size_t i = 0; i < structure.ClassCount(); ++i) {
            const zk::ClassData& cls = structure.Class(structure.ClassAt(i));
            if (shape.cut_percent == 0) {
                EXPECT_EQ(OwnEntries(structure, cls),
                          static_cast<std::size_t>(shape.attributes_per_class));
            }
            int depth = 0;
            for (EntityId base = cls.base; base; base = structure.Class(base).base)
                ++depth;
            EXPECT_LE(depth, shape.max_depth) << cls.name;
        }
        EXPECT_FALSE(structure.Modified());
    }
}

// A replay adds a class's own attributes after its base gave it the inherited entries, so a
// generated class must never list an entry of its base after an attribute of its own making.
bool BaseEntriesComeFirst(const Structure& structure, const zk::ClassData& cls) {
    bool own_seen = false;
    for (const EntityId entry : cls.attributes) {
        const std::string& name = structure.Declaring(entry).name;
        const bool from_base = cls.base && structure.FindAttribute(cls.base, name);
        if (from_base && own_seen)
            return false;
        own_seen = own_seen || !from_base;
    }
    return true;
}

// Windows-1251 holds ASCII, the Russian alphabet with Ё and ё, and "№" among others.
bool FitsWindows1251(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80)
            continue;
        if (i + 1 >= text.size())
            return false;
        const auto next = static_cast<unsigned char>(text[i + 1]);
        const bool cyrillic = (c == 0xD0 && next >= 0x81 && next <= 0xBF) ||
                              (c == 0xD1 && (next <= 0x8F || next == 0x91));
        const bool numero = c == 0xE2 && i + 2 < text.size() && next == 0x84 &&
                            static_cast<unsigned char>(text[i + 2]) == 0x96;
        if (!cyrillic && !numero)
            return false;
        i += numero ? 2 : 1;
    }
    return true;
}

// Over a few seeds of the default shape, every feature that a recording must carry shows up.
TEST(RandomStructure, DefaultShapeHoldsEveryFeature) {
    std::set<std::string> seen;
    std::set<zk::ValueType> kinds;
    for (std::uint32_t seed = 1; seed <= 6; ++seed) {
        const Structure s = RandomStructure(seed);
        for (std::size_t i = 0; i < s.ClassCount(); ++i) {
            const zk::ClassData& cls = s.Class(s.ClassAt(i));
            EXPECT_TRUE(BaseEntriesComeFirst(s, cls)) << cls.name;
            EXPECT_TRUE(FitsWindows1251(cls.name) && FitsWindows1251(cls.screen_name)) << cls.name;
            if (cls.name.find(' ') != std::string::npos)
                seen.insert("blank in a name");
            if (cls.name.find('%') != std::string::npos)
                seen.insert("% in a name");
            if (cls.name.find_first_of("\xD0\xD1") != std::string::npos)
                seen.insert("Cyrillic in a name");
            if (cls.base)
                seen.insert("base class");
            if (cls.child_set.contains(cls.id))
                seen.insert("own child");
            if (cls.x < 0 || cls.y < 0)
                seen.insert("negative position");
            for (const EntityId entry : cls.attributes) {
                const zk::AttributeEntry& a = s.Attribute(entry);
                const zk::AttributeData& data = s.Declaring(entry);
                EXPECT_TRUE(FitsWindows1251(data.name) && FitsWindows1251(data.function_code))
                    << data.name;
                if (a.inherited_from)
                    seen.insert("inherited entry");
                else if (cls.base && s.FindAttribute(cls.base, data.name))
                    seen.insert("cut inheritance");
                if (data.function_code.find("\r\n") != std::string::npos)
                    seen.insert("multi-line code");
                for (const auto& [name, value] : data.properties.Items())
                    kinds.insert(value.type);
            }
        }
        for (std::size_t i = 0; i < s.ClassCount(); ++i)
            if (const EntityId base = s.Class(s.ClassAt(i)).base)
                for (std::size_t j = i + 1; j < s.ClassCount(); ++j)
                    if (s.ClassAt(j) == base)
                        seen.insert("derived class before its base");
        for (std::size_t f = 0; f < s.FilterCount(); ++f)
            if (!s.FilterAt(f).constraints.empty() && !s.FilterAt(f).caption.empty())
                seen.insert("filter with caption and constraints");
        for (std::size_t m = 0; m < s.ModuleCount(); ++m)
            if (s.ModuleAt(m).text.find("\r\n") != std::string::npos)
                seen.insert("module with CR LF code");
        for (std::size_t g = 0; g < s.GroupCount(); ++g)
            for (const auto& [key, rights] : s.GroupAt(g).rights)
                seen.insert(rights == 0 ? "rights 0" : "rights");
    }
    for (const char* feature :
         {"blank in a name", "% in a name", "Cyrillic in a name", "base class", "own child",
          "negative position", "inherited entry", "cut inheritance", "multi-line code",
          "derived class before its base", "filter with caption and constraints",
          "module with CR LF code", "rights 0", "rights"})
        EXPECT_TRUE(seen.contains(feature)) << feature;
    EXPECT_EQ(kinds.size(), 18u) << "property value kinds: every one but objects";
}

TEST(GroupsOnly, KeepsTheGroupsInOrderAndNothingElse) {
    const Structure full = RandomStructure(5);
    ASSERT_GE(full.GroupCount(), 2u);
    const Structure groups = GroupsOnly(full);
    ASSERT_EQ(groups.GroupCount(), full.GroupCount());
    for (std::size_t g = 0; g < full.GroupCount(); ++g) {
        EXPECT_EQ(groups.GroupAt(g).id, full.GroupAt(g).id);
        EXPECT_EQ(groups.GroupAt(g).name, full.GroupAt(g).name);
        EXPECT_TRUE(groups.GroupAt(g).rights.empty());
    }
    EXPECT_EQ(groups.ClassCount() + groups.FilterCount() + groups.ModuleCount(), 0u);
}

} // namespace
} // namespace kvgen
