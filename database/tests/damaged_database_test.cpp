// Damaged databases: every file cut short at random places, or with random bytes changed, must
// load without a crash, a hang or a read outside its bytes (run under the sanitizers too), and
// leave a store whose objects all point at live objects of the same store.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "data_store.hpp"
#include "database_fixture.hpp"

namespace kelvra {
namespace {

using testing::BuildLibraries;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

// Touches every reference the store handed out, so that a dangling one is caught.
void WalkStore(const TdataStore& store) {
    std::set<const TCModel*> compressors;
    for (const auto& comp : store.Compressors()) {
        compressors.insert(comp.get());
        ASSERT_FALSE(comp->name.size() > TCModel::kNameLength);
        if (comp->refrigerant != nullptr) {
            ASSERT_EQ(store.FindRefrigerant(comp->refrigerant->id), comp->refrigerant);
        }
        for (const TcrateObj* set : {comp->ratingSetA, comp->ratingSetB, comp->ratingSetC}) {
            if (set == nullptr) continue;
            ASSERT_EQ(store.RatingSet(set->Index()), set);
            for (int position = 1; position <= TcrateObj::kEnvelopeSlots; ++position) {
                if (const Tenvelope* envelope = set->Envelope(position)) {
                    for (const TenvPoint* point : envelope->LeftLine())
                        ASSERT_EQ(point->setIndex, set->Index());
                    for (const TenvPoint* point : envelope->RightLine())
                        ASSERT_EQ(point->setIndex, set->Index());
                }
            }
        }
        int position = 0;
        while (position < 21) store.NextMotorCode(comp->motorCodes, position);
    }
    for (const auto* list : {&store.CondensingUnits(), &store.NetworkUnits()}) {
        for (const auto& unit : *list) {
            ASSERT_TRUE(compressors.count(unit->compressor) == 1) << unit->name;
        }
    }
    for (const auto& group : store.NetworkGroups()) {
        for (const Tunit* unit : group->masters) {
            if (unit != nullptr) {
                ASSERT_TRUE(compressors.count(unit->compressor) == 1);
            }
        }
        for (const Tunit* unit : group->slaves) {
            if (unit != nullptr) {
                ASSERT_TRUE(compressors.count(unit->compressor) == 1);
            }
        }
    }
    for (const auto& valve : store.Valves()) {
        ASSERT_NE(valve->correctionGroup, nullptr);
        ASSERT_GE(valve->correctionGroup->RowCount(), 1);
    }
    std::vector<const TTecObj*> items;
    for (const auto& comp : store.Compressors()) {
        for (const char letter : {'E', 'M', 'I', 'O', 'A'}) {
            store.TechList(*comp, letter, items);
            store.TechText(*comp, letter, 10);
        }
        store.DrawingPath(store.DrawingNumber(*comp), 'C');
        store.FamilyCaption(comp->family != nullptr ? *comp->family : TFamily{}, 'C');
    }
    std::vector<TCModel*> list;
    FamilySelection all;
    for (int code = 0; code <= FamilySelection::kMaxCode; ++code) all.Add(code);
    for (std::int32_t mode = 0; mode < kActivityModeCount; ++mode) {
        for (const auto& refrigerant : store.Refrigerants()) {
            store.SelectCandidates(list, refrigerant->id, mode == 1, 1, all, 0,
                                   static_cast<ActivityMode>(mode));
        }
    }
}

class DamagedDatabaseTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { libraries_ = std::make_unique<BuildLibraries>(); }
    static void TearDownTestSuite() { libraries_.reset(); }

    // Loads the folder after `damage` changed the bytes of one file; the original comes back
    // afterwards.
    template <class Damage>
    void LoadDamaged(const std::filesystem::path& folder, const std::filesystem::path& file,
                     Damage damage) {
        const std::vector<std::uint8_t> original = ReadBytes(file);
        std::vector<std::uint8_t> bytes = original;
        damage(bytes);
        WriteBytes(file, bytes);
        {
            TdataStore store(DatabaseSources{folder, nullptr});
            WalkStore(store);
        }
        WriteBytes(file, original);
    }

    // Every file of the folder, cut short and changed at random.
    void DamageEveryFile(const std::filesystem::path& folder, int rounds, unsigned seed) {
        std::mt19937 random(seed);
        for (const DatabaseFile which : AllDatabaseFiles()) {
            const std::filesystem::path file = FindDatabaseFile(folder, which);
            ASSERT_FALSE(file.empty()) << DatabaseFileName(which);
            SCOPED_TRACE(DatabaseFileName(which));
            for (int round = 0; round < rounds; ++round) {
                // Cut short anywhere, also inside the header and to nothing.
                LoadDamaged(folder, file, [&](std::vector<std::uint8_t>& bytes) {
                    bytes.resize(bytes.empty() ? 0 : random() % bytes.size());
                });
                // Random bytes changed.
                LoadDamaged(folder, file, [&](std::vector<std::uint8_t>& bytes) {
                    if (bytes.empty()) return;
                    const int flips = 1 + static_cast<int>(random() % 64);
                    for (int i = 0; i < flips; ++i) {
                        bytes[random() % bytes.size()] = static_cast<std::uint8_t>(random());
                    }
                });
                // Whole records of 0xFF or zero bytes, and stray bytes at the end.
                LoadDamaged(folder, file, [&](std::vector<std::uint8_t>& bytes) {
                    const std::size_t size = DatabaseRecordSize(which);
                    const std::size_t records = bytes.size() / size;
                    if (records > 1) {
                        const std::size_t at = 1 + random() % (records - 1);
                        std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(at * size), size,
                                    random() % 2 == 0 ? 0xFF : 0x00);
                    }
                    bytes.push_back(static_cast<std::uint8_t>(random()));
                });
            }
        }
    }

    static std::unique_ptr<BuildLibraries> libraries_;
};

std::unique_ptr<BuildLibraries> DamagedDatabaseTest::libraries_;

TEST_F(DamagedDatabaseTest, FixtureFilesCutShortOrChangedLoadSafely) {
    TempFolder folder;
    WriteProductDatabase(folder.path(), testing::FixtureDatabase());
    DamageEveryFile(folder.path(), 6, 1234u);
}

TEST_F(DamagedDatabaseTest, EmptyAndForeignFilesLoadSafely) {
    TempFolder folder;
    WriteProductDatabase(folder.path(), testing::FixtureDatabase());
    const auto headerBytes = ReadBytes(folder.path() / DatabaseFileName(DatabaseFile::Header));
    for (const DatabaseFile which : AllDatabaseFiles()) {
        SCOPED_TRACE(DatabaseFileName(which));
        const auto file = folder.path() / DatabaseFileName(which);
        LoadDamaged(folder.path(), file, [](std::vector<std::uint8_t>& bytes) { bytes.clear(); });
        // Another file's contents in its place.
        LoadDamaged(folder.path(), file,
                    [&](std::vector<std::uint8_t>& bytes) { bytes = headerBytes; });
    }
}

// The database the catalogue ships, when this build has compiled it.
std::filesystem::path ShippedDatabase() {
    const std::filesystem::path bin = InstallationFolder();
    for (const auto& candidate : {bin / "data", bin, bin / "database"}) {
        if (!FindDatabaseFile(candidate, DatabaseFile::Header).empty() &&
            !FindDatabaseFile(candidate, DatabaseFile::Compressors).empty()) {
            return candidate;
        }
    }
    return {};
}

TEST_F(DamagedDatabaseTest, ShippedDatabaseLoadsAndSurvivesDamage) {
    const std::filesystem::path shipped = ShippedDatabase();
    if (shipped.empty()) GTEST_SKIP() << "this build has no compiled product database";
    {
        TdataStore store(DatabaseSources{shipped, nullptr});
        EXPECT_TRUE(store.Valid()) << ::testing::PrintToString(store.Problems());
        EXPECT_FALSE(store.Missing());
        EXPECT_FALSE(store.Compressors().empty());
        WalkStore(store);
    }
    TempFolder copy;
    for (const DatabaseFile which : AllDatabaseFiles()) {
        const auto file = FindDatabaseFile(shipped, which);
        if (!file.empty()) std::filesystem::copy_file(file, copy.path() / DatabaseFileName(which));
    }
    // A second copy of an optional file may be missing; write it empty then.
    for (const DatabaseFile which : {DatabaseFile::SpeedData, DatabaseFile::Drawings}) {
        const auto file = copy.path() / DatabaseFileName(which);
        if (!std::filesystem::exists(file)) WriteBytes(file, HeaderRecord(which, 0));
    }
    DamageEveryFile(copy.path(), 2, 98765u);
}

}  // namespace
}  // namespace kelvra
