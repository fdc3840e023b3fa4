// Record classes built from their bytes: supplies, families, envelope types, technical data,
// accessories, motor codes, drawings, rating data sets with their speed and inverter data.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "envelope.hpp"
#include "product_records.hpp"
#include "rating_data.hpp"
#include "rating_set_builder.hpp"
#include "record_bytes.hpp"

namespace kelvra {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Zeros(std::size_t n) {
    return Bytes(n, 0);
}

// --- Windows-1252 text ---

TEST(RecordText, Windows1252BecomesUtf8) {
    const struct {
        std::string bytes, utf8;
    } cases[] = {
        {"R404A", "R404A"},
        {"K\xE4ltemittel", "K\u00E4ltemittel"},  // a-umlaut, Latin-1 range
        {"\x80 5", "\u20AC 5"},                  // euro sign
        {"10\x96"
         "20",
         "10\u201320"},  // en dash
        {"\x93"
         "A\x94",
         "\u201CA\u201D"},  // quotation marks
        {"\xB0"
         "C",
         "\u00B0C"},                                                 // degree sign
        {"\x81\x8D\x8F\x90\x9D", "\u0081\u008D\u008F\u0090\u009D"},  // undefined bytes kept
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Windows1252ToUtf8(c.bytes), c.utf8) << c.bytes;
        EXPECT_EQ(Utf8ToWindows1252(c.utf8), c.bytes) << c.utf8;
    }
}

TEST(RecordText, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
    const std::string utf8 = Windows1252ToUtf8(all);
    EXPECT_EQ(Utf8ToWindows1252(utf8), all);
}

TEST(RecordText, CharactersTheCodePageLacksBecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToWindows1252("a\u2192b"), "a?b");        // arrow
    EXPECT_EQ(Utf8ToWindows1252("\xF0\x9F\x94\xA5"), "?");  // four-byte character
    EXPECT_EQ(Utf8ToWindows1252("x\xC3"), "x?");            // cut multi-byte character
    EXPECT_EQ(Utf8ToWindows1252("\xFF"
                                "a"),
              "?a");  // not UTF-8 at all
}

TEST(RecordView, TextEndsAtTheFirstZeroByte) {
    const Bytes row = {'A', 'B', 0, 'C', 'D', 'E', 'F', 'G'};
    const RecordView view(row, row.size(), "test");
    EXPECT_EQ(view.Text(0, 5), "AB");
    EXPECT_EQ(view.Text(3, 5), "CDEFG");  // no zero: the whole field
    EXPECT_THROW(view.Text(4, 5), RecordError);
    EXPECT_THROW(view.U16(7), RecordError);
    EXPECT_THROW(view.Double(1), RecordError);
}

TEST(RecordView, LittleEndianFields) {
    Bytes row = Zeros(16);
    PutU16(row, 0, 0x1234);
    PutI16(row, 2, -2);
    PutSingle(row, 4, 1.5f);
    PutDouble(row, 8, -0.25);
    EXPECT_EQ(row[0], 0x34);
    EXPECT_EQ(row[1], 0x12);
    const RecordView view(row, 16, "test");
    EXPECT_EQ(view.U16(0), 0x1234);
    EXPECT_EQ(view.I16(2), -2);
    EXPECT_EQ(view.U16(2), 0xFFFE);
    EXPECT_EQ(view.Single(4), 1.5f);
    EXPECT_EQ(view.Double(8), -0.25);
    EXPECT_THROW(PutDouble(row, 9, 1.0), RecordError);
}

// --- short records are refused ---

TEST(RecordClasses, ShortRecordsAreRefused) {
    const struct {
        const char* name;
        std::size_t size;
        std::function<void(RecordBytes)> build;
    } cases[] = {
        {"family", 43, [](RecordBytes r) { FamilyFromRecord(r); }},
        {"supply", 39, [](RecordBytes r) { SupplyFromRecord(r); }},
        {"supply test", 39, [](RecordBytes r) { IsSupplyRecord(r); }},
        {"envelope type", 39, [](RecordBytes r) { TenvObj{r}; }},
        {"heading", 4, [](RecordBytes r) { TTecHeadObj{r}; }},
        {"technical data", 43, [](RecordBytes r) { TTecObj::FromTechRecord(r, 'C'); }},
        {"accessory", 8, [](RecordBytes r) { TTecObj::FromAccessoryRecord(r); }},
        {"controls data", 68, [](RecordBytes r) { TordaTech{r}; }},
        {"motor code", 70, [](RecordBytes r) { TmotorObj{r}; }},
        {"drawing", 38, [](RecordBytes r) { Tdrawing{r}; }},
        {"envelope point", 15, [](RecordBytes r) { TenvPoint{r}; }},
        {"rating data", 466, [](RecordBytes r) { TcrateObj{r}; }},
        {"speed data", 324, [](RecordBytes r) { TrpmObject{r}; }},
        {"inverter data", 324, [](RecordBytes r) { TinverterObject{r}; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes full = Zeros(c.size);
        EXPECT_NO_THROW(c.build(full));
        // A longer buffer is read for its first record only.
        const Bytes longer = Zeros(c.size + 7);
        EXPECT_NO_THROW(c.build(longer));
        const Bytes shorter = Zeros(c.size - 1);
        EXPECT_THROW(c.build(shorter), RecordError);
        EXPECT_THROW(c.build(RecordBytes{}), RecordError);
    }
}

// --- families and supplies ---

TEST(TFamily, FromHeaderRow) {
    Bytes row = Zeros(kHeaderRecordSize);
    PutI16(row, 0, 12);
    PutText(row, 2, 35, "  K\u00E4lte Scroll  ");
    row[37] = 'B';
    row[38] = 'C';
    PutSingle(row, 39, 2.0f);
    const TFamily family = FamilyFromRecord(row);
    EXPECT_EQ(family.code, 12);
    EXPECT_EQ(family.name, "K\u00E4lte Scroll");
    EXPECT_EQ(family.subLetter, 'B');
    EXPECT_EQ(family.kind, 'C');
    EXPECT_EQ(family.category, 2.0f);
    EXPECT_FALSE(family.selected);
}

TEST(TSupply, SixtyHertzSupplyFromItsRow) {
    Bytes row = Zeros(kSupplyRecordSize);
    PutText(row, 0, 25, "460V-3-60");
    PutI16(row, 25, 7);
    PutI16(row, 27, 1);
    PutI16(row, 29, 60);
    PutSingle(row, 31, 460.0f);
    PutSingle(row, 35, 3.0f);
    ASSERT_TRUE(IsSupplyRecord(row));
    TSupply supply = SupplyFromRecord(row);
    EXPECT_EQ(supply.name, "460V-3-60");
    EXPECT_EQ(supply.id, 7);
    EXPECT_TRUE(supply.flag);
    EXPECT_EQ(supply.voltage, 460.0f);
    EXPECT_EQ(supply.phases, 3.0f);
    EXPECT_EQ(supply.FrequencyText(), "60Hz");
    supply.ApplyDataLabel("Data at 50Hz");
    EXPECT_EQ(supply.dataLabel, "Data at 60Hz");

    supply.frequency = 50;
    supply.ApplyDataLabel("Data at 50Hz");
    EXPECT_EQ(supply.dataLabel, "Data at 50Hz");
}

TEST(TSupply, SixtyHertzLabel) {
    EXPECT_EQ(SixtyHertzLabel("Data at 50Hz"), "Data at 60Hz");
    EXPECT_EQ(SixtyHertzLabel("5 Daten bei 50Hz"), "6 Daten bei 50Hz");  // the first 5 only
    EXPECT_EQ(SixtyHertzLabel("Rated data"), "Rated data");              // no 5: unchanged
    EXPECT_EQ(SixtyHertzLabel(""), "");
}

TEST(TSupply, RowsUpToFrequency39AreEnvelopeTypes) {
    for (const auto& [code, supply] :
         {std::pair{39, false}, {40, true}, {0, false}, {-60, false}}) {
        Bytes row = Zeros(kSupplyRecordSize);
        PutI16(row, 29, static_cast<std::int16_t>(code));
        EXPECT_EQ(IsSupplyRecord(row), supply) << code;
    }
}

TEST(TcustFam, MembersInOrderOfAdding) {
    TcustFam family("  My chillers  ");
    EXPECT_EQ(family.name, "My chillers");
    EXPECT_EQ(family.kind, 'X');
    EXPECT_EQ(family.listSection, -1);
    TcustFam longName(std::string(40, 'n'));
    EXPECT_EQ(longName.name, std::string(35, 'n'));

    // Members are only compared by identity; any two distinct addresses serve.
    const std::array<int, 3> models{};
    const auto* a = reinterpret_cast<const TCModel*>(&models[0]);
    const auto* b = reinterpret_cast<const TCModel*>(&models[1]);
    const auto* c = reinterpret_cast<const TCModel*>(&models[2]);
    family.AddMember(b);
    family.AddMember(a);
    EXPECT_TRUE(family.Contains(a));
    EXPECT_TRUE(family.Contains(b));
    EXPECT_FALSE(family.Contains(c));
    EXPECT_FALSE(family.Contains(nullptr));
    ASSERT_EQ(family.Members().size(), 2u);
    EXPECT_EQ(family.Members()[0], b);
    family.RemoveMember(b);
    EXPECT_FALSE(family.Contains(b));
    EXPECT_EQ(family.Members().size(), 1u);
}

// --- envelope types ---

TEST(TenvObj, FromItsRow) {
    auto row = EnvelopeTypeRecord(14, 7, 20.0f, true, "Extended \u00B0C");
    PutSingle(row, 35, 3.5f);
    const TenvObj type(row);
    EXPECT_EQ(type.id, 14);
    EXPECT_EQ(type.kind, 7);
    EXPECT_TRUE(type.flag);
    EXPECT_TRUE(type.ReturnGasMode());
    EXPECT_EQ(type.Limit(), 20.0f);
    EXPECT_EQ(type.name, "Extended \u00B0C");
    // The second value is passed on byte for byte.
    EXPECT_EQ(LoadSingle(type.value2.data()), 3.5f);
}

TEST(TenvObj, FindLastOfSeveralWithOneId) {
    const std::vector<TenvObj> types = {TenvObj(EnvelopeTypeRecord(1, 1, 10, false, "first")),
                                        TenvObj(EnvelopeTypeRecord(2, 1, 10, false, "other")),
                                        TenvObj(EnvelopeTypeRecord(1, 3, 10, false, "last"))};
    ASSERT_NE(FindLastEnvelopeType(types, 1), nullptr);
    EXPECT_EQ(FindLastEnvelopeType(types, 1)->name, "last");
    EXPECT_EQ(FindLastEnvelopeType(types, 9), nullptr);
}

// --- headings, technical data, accessories ---

Bytes HeadingRow(std::uint16_t id, char selector, char group) {
    Bytes row = Zeros(TTecHeadObj::kRecordSize);
    PutU16(row, 0, id);
    row[2] = static_cast<std::uint8_t>(selector);
    row[3] = static_cast<std::uint8_t>(group);
    return row;
}

Bytes TechRow(std::uint16_t key, std::uint16_t heading, std::string_view text, float value) {
    Bytes row = Zeros(TTecObj::kTechRecordSize);
    PutU16(row, 0, key);
    PutU16(row, 2, heading);
    PutText(row, 4, 35, text);
    PutSingle(row, 39, value);
    return row;
}

TEST(TTecHeadObj, CaptionIsGroupAndId) {
    const TTecHeadObj heading(HeadingRow(12, 'M', 'E'));
    EXPECT_EQ(heading.id, 12);
    EXPECT_EQ(heading.keySelector, 'M');
    EXPECT_EQ(heading.group, 'E');
    EXPECT_EQ(heading.caption, "E12");
    EXPECT_EQ(heading.usedBy, '*');
}

TEST(TTecObj, HeadingUsedByTwoKindsReportsB) {
    const struct {
        std::string kinds;  // product kinds of the items referring to the heading, in order
        char usedBy;
    } cases[] = {
        {"", '*'}, {"C", 'C'}, {"CC", 'C'}, {"CU", 'B'}, {"UCU", 'B'}, {"V", 'V'}, {"UU", 'U'},
    };
    for (const auto& c : cases) {
        std::vector<TTecHeadObj> headings = {TTecHeadObj(HeadingRow(5, 'C', 'E'))};
        for (const char kind : c.kinds) {
            TTecObj item = TTecObj::FromTechRecord(TechRow(1, 5, "x", 0), kind);
            item.ResolveHeading(headings);
            EXPECT_EQ(item.heading, &headings[0]);
        }
        EXPECT_EQ(headings[0].usedBy, c.usedBy) << c.kinds;
    }
}

TEST(TTecObj, FirstHeadingWithTheIdInLoadOrder) {
    std::vector<std::unique_ptr<TTecHeadObj>> headings;
    headings.push_back(std::make_unique<TTecHeadObj>(HeadingRow(3, 'C', 'M')));
    headings.push_back(std::make_unique<TTecHeadObj>(HeadingRow(5, 'C', 'E')));
    headings.push_back(std::make_unique<TTecHeadObj>(HeadingRow(5, 'R', 'M')));
    TTecObj item = TTecObj::FromTechRecord(TechRow(1, 5, "x", 0), 'U');
    item.ResolveHeading(headings);
    EXPECT_EQ(item.heading, headings[1].get());
    EXPECT_EQ(headings[1]->usedBy, 'U');
    EXPECT_EQ(headings[2]->usedBy, '*');

    TTecObj orphan = TTecObj::FromTechRecord(TechRow(1, 99, "x", 0), 'C');
    orphan.ResolveHeading(headings);
    EXPECT_EQ(orphan.heading, nullptr);
}

TEST(TTecObj, TechnicalDataFromItsRow) {
    const TTecObj item = TTecObj::FromTechRecord(TechRow(301, 12, "  1\u00BD\" ODS  ", 2.5f), 'U');
    EXPECT_EQ(item.modelKey, 301);
    EXPECT_EQ(item.headingId, 12);
    EXPECT_EQ(item.text, "1\u00BD\" ODS");
    EXPECT_EQ(item.ValueAsSingle(), 2.5f);
    EXPECT_EQ(item.productKind, 'U');
    EXPECT_EQ(item.textKey, 0);
    EXPECT_EQ(item.heading, nullptr);
}

TEST(TTecObj, AccessoryKindsAndLists) {
    const struct {
        char kind, list;
        char productKind, listLetter;
        bool included, optional;
    } cases[] = {
        {'U', 'I', 'U', 'I', true, false},  {'u', 'i', 'U', 'I', true, false},
        {'V', 'O', 'V', 'O', false, true},  {'v', 'o', 'V', 'O', false, true},
        {'R', 'I', 'C', 'I', true, false},  // "R" is stored as a compressor item
        {'C', 'O', 'C', 'O', false, true},  {'x', 'I', 'C', 'I', true, false},
        {'C', 'X', 'C', 'X', false, false},  // no list: the loader drops it
    };
    for (const auto& c : cases) {
        Bytes row = Zeros(TTecObj::kAccessoryRecordSize);
        PutU16(row, 0, 44);
        PutU16(row, 2, 9);
        PutU16(row, 4, 5120);
        row[6] = static_cast<std::uint8_t>(c.kind);
        row[7] = static_cast<std::uint8_t>(c.list);
        const TTecObj item = TTecObj::FromAccessoryRecord(row);
        SCOPED_TRACE(std::string(1, c.kind) + c.list);
        EXPECT_EQ(item.modelKey, 44);
        EXPECT_EQ(item.headingId, 9);
        EXPECT_EQ(item.textKey, 5120);
        EXPECT_EQ(item.productKind, c.productKind);
        EXPECT_EQ(item.listLetter, c.listLetter);
        EXPECT_EQ(item.IsIncluded(), c.included);
        EXPECT_EQ(item.IsOptional(), c.optional);
        EXPECT_TRUE(item.text.empty());
    }
}

TEST(TordaTech, FromItsRow) {
    Bytes row = Zeros(TordaTech::kRecordSize);
    PutU16(row, 0, 812);
    PutU16(row, 2, 0);
    PutText(row, 4, 25, " 3/8\" SAE ");
    PutText(row, 29, 35, "  Flare connection, 3/8\u2033 ");  // the double prime has no byte
    PutSingle(row, 64, 0.75f);
    const TordaTech item(row);
    EXPECT_EQ(item.modelKey, 812);
    EXPECT_EQ(item.headingId, 0);
    EXPECT_EQ(item.text, "3/8\" SAE");
    EXPECT_EQ(item.longText, "Flare connection, 3/8?");
    EXPECT_EQ(item.ValueAsSingle(), 0.75f);
    EXPECT_EQ(item.productKind, 'V');
    EXPECT_EQ(item.listLetter, ' ');
}

// --- motor codes and drawings ---

TEST(TmotorObj, KeepsItsRecordAndReadsFields) {
    Bytes row = Zeros(TmotorObj::kRecordSize);
    PutU16(row, 0, 17);
    PutText(row, 2, 3, "TF5");
    PutText(row, 5, 16, "380-420V/3/50Hz ");
    PutText(row, 21, 15, "400 V");
    PutText(row, 36, 15, "Y/\u0394");  // delta is not in the code page
    PutText(row, 51, 15, "Yes");
    PutSingle(row, 66, 12.5f);
    const TmotorObj motor(row);
    EXPECT_TRUE(std::equal(row.begin(), row.end(), motor.Record().begin()));
    EXPECT_EQ(motor.Id(), 17);
    EXPECT_EQ(motor.Code(), "TF5");
    EXPECT_EQ(motor.SupplyText(), "380-420V/3/50Hz");
    EXPECT_EQ(motor.NominalVoltageText(), "400 V");
    EXPECT_EQ(motor.ConnectionText(), "Y/?");
    EXPECT_EQ(motor.DirectOnLineText(), "Yes");
    EXPECT_EQ(motor.CurrentBasis(), 12.5f);
}

TEST(Tdrawing, FileNameKeepsTrailingBlanks) {
    const struct {
        char kind, stored;
        bool known;
    } cases[] = {{'C', 'C', true}, {'u', 'U', true}, {'v', 'V', true}, {'x', 'x', false}};
    for (const auto& c : cases) {
        Bytes row = Zeros(Tdrawing::kRecordSize);
        PutI16(row, 0, 42);
        PutText(row, 2, 35, "ZS21 outline.pdf  ");
        row[37] = static_cast<std::uint8_t>(c.kind);
        const Tdrawing drawing(row);
        EXPECT_EQ(drawing.number, 42);
        EXPECT_EQ(drawing.fileName, "ZS21 outline.pdf  ");
        EXPECT_EQ(drawing.productKind, c.stored);
        EXPECT_EQ(drawing.HasKnownKind(), c.known);
    }
}

// --- rating data sets ---

TEST(TcrateObj, FieldsRoundTripThroughTheBuilder) {
    RatingSetBuilder builder(23);
    builder.Kind(2)
        .Displacement(0.00512)
        .MotorPowerLimit(14.5)
        .MaxDischargeTemp(135)
        .InjectionPowerFactor(1.27)
        .TechnologyCode(9)
        .OptionWord(8 | 16)
        .BuiltInVolumeRatio(2.6f)
        .DataFlags(5)
        .PowerUnit(2)
        .PowerLossFlags(3)
        .MassFlowUnit(1)
        .RatedSuctionGasTemp(20)
        .RatedSubcooling(8.3f)
        .OptionBits(1 | 2)
        .VolumetricEfficiencyScale(1.2f);
    for (int block = 0; block < 4; ++block) {
        std::array<double, 10> c{};
        for (int k = 0; k < 10; ++k) c[static_cast<std::size_t>(k)] = 100.0 * (block + 1) + k + 1;
        builder.Coefficients(static_cast<CoefficientBlock>(block), c);
    }
    const TcrateObj set(builder.Record());
    EXPECT_EQ(set.Index(), 23);
    EXPECT_EQ(set.RatingModelKind(), 2);
    EXPECT_EQ(set.Displacement(), 0.00512);
    EXPECT_EQ(set.MotorPowerLimit(), 14.5);
    EXPECT_EQ(set.MaxDischargeTemp(), 135);
    EXPECT_EQ(set.InjectionPowerFactor(), 1.27);
    EXPECT_EQ(set.TechnologyCode(), 9);
    EXPECT_EQ(set.OptionWord(), 24);
    EXPECT_TRUE(set.CapsSubcooling());
    EXPECT_TRUE(set.CapsDischargeAt145());
    EXPECT_FALSE(set.IsentropicDischarge());
    EXPECT_FALSE(set.IgnoresActualSubcooling());  // only the whole word 4 or 8
    EXPECT_EQ(set.BuiltInVolumeRatio(), 2.6f);
    EXPECT_EQ(set.DataFlags(), 5);
    EXPECT_TRUE(set.TemperaturesInFahrenheit());
    EXPECT_FALSE(set.CapacityInWatts());
    EXPECT_TRUE(set.PolynomialsDewBased());
    EXPECT_EQ(set.PowerUnit(), 2);
    EXPECT_EQ(set.PowerLossFlags(), 3);
    EXPECT_EQ(set.MassFlowUnit(), 1);
    EXPECT_EQ(set.NominalSpeed(), 0);
    EXPECT_FALSE(set.RatedAtSuperheat());
    EXPECT_EQ(set.RatedSuctionValue(), 20.0f);
    EXPECT_EQ(set.RatedSubcooling(), 8.3f);
    EXPECT_TRUE(set.FirstOptionFlag());
    EXPECT_TRUE(set.Is50HzData());
    EXPECT_FALSE(set.EnvelopePointsDewBased());
    EXPECT_EQ(set.VolumetricEfficiencyScale(), 1.2f);
    // The blocks lie at 84, 164, 244 and 324, ten doubles each.
    EXPECT_EQ(set.Coefficient(CoefficientBlock::A, 1), 101);
    EXPECT_EQ(set.Coefficient(CoefficientBlock::A, 10), 110);
    EXPECT_EQ(set.Coefficient(CoefficientBlock::B, 1), 201);
    EXPECT_EQ(set.Coefficient(CoefficientBlock::C, 5), 305);
    EXPECT_EQ(set.Coefficient(CoefficientBlock::D, 10), 410);
    EXPECT_EQ(LoadDouble(set.Record().data() + 324), 401);
    EXPECT_EQ(set.Coefficients(CoefficientBlock::B)[9], 210);
    EXPECT_THROW(set.Coefficient(CoefficientBlock::A, 0), std::out_of_range);
    EXPECT_THROW(set.Coefficient(CoefficientBlock::D, 11), std::out_of_range);
    EXPECT_THROW(set.Coefficient(static_cast<CoefficientBlock>(4), 1), std::out_of_range);
    EXPECT_THROW(RatingSetBuilder().Coefficients(static_cast<CoefficientBlock>(-1), {}),
                 std::out_of_range);
    // The record is kept byte for byte.
    EXPECT_EQ(set.Record(), builder.Record());

    const TcrateObj superheatSet(RatingSetBuilder().RatedSuperheat(11.1f).OptionWord(4).Record());
    EXPECT_TRUE(superheatSet.RatedAtSuperheat());
    EXPECT_EQ(superheatSet.RatedSuctionValue(), 11.1f);
    EXPECT_TRUE(superheatSet.IgnoresActualSubcooling());
}

TEST(TcrateObj, FixedSpeedEnvelopesFromTheSixIds) {
    RatingSetBuilder builder;
    for (int position = 1; position <= 6; ++position) {
        builder.Envelope(position, static_cast<std::uint16_t>(10 + position), {}, {},
                         static_cast<std::uint8_t>(position * 3));
    }
    const TcrateObj set(builder.Record());
    EXPECT_FALSE(set.HasVariableSpeedEnvelopes());
    for (int position = 1; position <= 6; ++position) {
        const Tenvelope* envelope = set.Envelope(position);
        ASSERT_NE(envelope, nullptr) << position;
        EXPECT_EQ(dynamic_cast<const TVSenvelope*>(envelope), nullptr);
        EXPECT_EQ(envelope->typeId, 10 + position);
        EXPECT_EQ(envelope->optionByte, position * 3);
        EXPECT_EQ(set.EnvelopeId(position), 10 + position);
        EXPECT_FALSE(envelope->speedInterpolation);
    }
    EXPECT_EQ(set.Envelope(0), nullptr);
    EXPECT_EQ(set.Envelope(7), nullptr);
}

TEST(TcrateObj, VariableSpeedSetWithIdsAt430And438) {
    // Ids only at offsets 430 and 438: envelopes in positions 1 and 5.
    const auto record = RatingSetBuilder()
                            .NominalSpeed(3000)
                            .Byte(441, 9)
                            .Byte(430, 4)
                            .Byte(438, 6)
                            .Byte(428, 77)  // a fixed-speed id: not read for variable speed
                            .Record();
    const TcrateObj set(record);
    EXPECT_TRUE(set.HasVariableSpeedEnvelopes());
    for (int position = 1; position <= 6; ++position) {
        const bool filled = position == 1 || position == 5;
        EXPECT_EQ(set.Envelope(position) != nullptr, filled) << position;
    }
    const auto* first = dynamic_cast<const TVSenvelope*>(set.Envelope(1));
    const auto* fifth = dynamic_cast<const TVSenvelope*>(set.Envelope(5));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(fifth, nullptr);
    EXPECT_EQ(first->typeId, 4);
    EXPECT_EQ(fifth->typeId, 6);
    EXPECT_EQ(first->NominalSpeed(), 3000);
    EXPECT_EQ(first->optionByte, 9);
    EXPECT_TRUE(first->speedInterpolation);
    EXPECT_EQ(set.EnvelopeId(1), 4);
    EXPECT_EQ(set.EnvelopeId(2), 0);
    EXPECT_EQ(set.EnvelopeId(5), 6);
}

TEST(TcrateObj, LoaderSettersChangeTheRecord) {
    TcrateObj set(RatingSetBuilder().MotorPowerLimit(20).MaxDischargeTemp(130).Record());
    set.SetMotorPowerLimit(0);
    set.SetMaxDischargeTemp(1120);
    set.SetVolumetricEfficiencyScale(1.2f);
    EXPECT_EQ(LoadDouble(set.Record().data() + 20), 0.0);
    EXPECT_EQ(LoadDouble(set.Record().data() + 28), 1120.0);
    EXPECT_EQ(LoadSingle(set.Record().data() + 446), 1.2f);
}

TEST(TrpmObject, Polynomials) {
    std::array<double, 40> values{};
    for (int k = 0; k < 10; ++k) values[static_cast<std::size_t>(k)] = k + 1;  // set 1: 1..10
    values[29] = 1;                                                            // set 3: K10 only
    values[30] = 2;                                                            // set 4: K1 only
    const TrpmObject speed(SpeedDataRecord(8, 1, values));
    EXPECT_EQ(speed.Index(), 8);
    EXPECT_EQ(speed.Kind(), 1);
    // a = 2, b = 3, c = 4: 4 (1 + 6 + 6 + 36 + 30 + 24 + 4 (7 + 24 + 18 + 40)) = 1836.
    EXPECT_DOUBLE_EQ(speed.Evaluate(1, 2, 3, 4), 1836);
    EXPECT_DOUBLE_EQ(speed.Evaluate(2, 2, 3, 4), 0);
    EXPECT_DOUBLE_EQ(speed.Evaluate(3, 2, 3, 4), 64);  // c * c * c
    EXPECT_DOUBLE_EQ(speed.Evaluate(4, 2, 3, 4), 8);   // c * K1
    EXPECT_EQ(speed.Coefficient(1, 7), 7);
    EXPECT_THROW(speed.Evaluate(0, 1, 1, 1), std::out_of_range);
    EXPECT_THROW(speed.Evaluate(5, 1, 1, 1), std::out_of_range);
}

TEST(TinverterObject, FrequencyFunctions) {
    std::array<double, 40> c{};
    c[0] = 2, c[1] = 1, c[2] = 0.1, c[3] = 0.01;  // C1..C4
    c[10] = 1, c[11] = 0.5;                       // C11, C12
    c[30] = 0.1, c[31] = 2;                       // C31, C32
    const TinverterObject inverter(SpeedDataRecord(3, 64, c));
    EXPECT_EQ(inverter.Kind(), 64);
    // 1500 rpm is 50 Hz: (50/50) * 10 * 2 * (1 + 5 + 25).
    EXPECT_DOUBLE_EQ(inverter.First(1500, 10), 620);
    // 3000 rpm is 100 Hz: (100/50) * 7 * 1 * 0.5.
    EXPECT_DOUBLE_EQ(inverter.Second(3000, 7), 7);
    EXPECT_DOUBLE_EQ(inverter.Third(10), 3);
    EXPECT_EQ(inverter.Coefficient(32), 2);
    EXPECT_THROW(inverter.Coefficient(41), std::out_of_range);
    EXPECT_THROW(inverter.Coefficient(0), std::out_of_range);
}

}  // namespace
}  // namespace kelvra
