#include "catalogue_compiler.hpp"

#include <fmt/format.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>
#include <stdexcept>

#include "compressor.hpp"
#include "heat_pump_catalogue.hpp"
#include "orda_physics.hpp"
#include "product_records.hpp"
#include "rating_set_builder.hpp"

namespace kelvra::catalogue {

namespace fs = std::filesystem;

namespace {

constexpr int kInverterRpmPerHz = 30;

std::string Fixed(double v, int decimals) {
    return fmt::format("{:.{}f}", v, decimals);
}

float Single(double v) {
    return static_cast<float>(v);
}

// A 32-bit little-endian integer of the climate file (not one of the database's record files).
void PutInt32(std::vector<std::uint8_t>& record, std::size_t offset, std::int32_t value) {
    const auto u = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) record.at(offset + static_cast<std::size_t>(i)) = static_cast<std::uint8_t>(u >> (8 * i));
}

// The rating sets of a family: A, and B and C for the load steps.
int StepCount(const CompressorFamilyDef& f) {
    return 1 + static_cast<int>(f.physics.loadSteps.size());
}

std::vector<double> VerifySpeeds(const CompressorFamilyDef& f, int step) {
    if (step > 0) return {0.0};
    if (f.physics.speed) return {f.physics.speed->fitSpeeds.begin(), f.physics.speed->fitSpeeds.end()};
    if (f.physics.inverter) {
        std::vector<double> out;
        for (double hz : f.physics.inverter->frequencies) out.push_back(hz * kInverterRpmPerHz);
        return out;
    }
    return {0.0};
}

int NominalSpeed(const CompressorFamilyDef& f) {
    if (f.physics.speed) return f.physics.speed->nominal;
    if (f.physics.inverter) return 50 * kInverterRpmPerHz;
    return 0;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Refrigerants

RefrigerantSet::RefrigerantSet(const CatalogueSource& source) : source_(&source) {
    for (const RefrigerantDef& def : source.refrigerants) {
        auto probe = std::make_unique<Trefrigerant>(def.name, static_cast<std::int16_t>(def.code), def.basis, 1.15f);
        if (!probe->initialised)
            throw SourceError(def.where.file, def.where.path + "/name",
                              fmt::format("the property libraries do not know \"{}\"", def.name));
        const float exponent = static_cast<float>(CompressionExponent(def, *probe));
        probe->exponent = exponent;
        refrigerants_[def.name] = std::move(probe);
    }
}

Trefrigerant& RefrigerantSet::Get(const std::string& name) {
    return *refrigerants_.at(name);
}

const RefrigerantDef& RefrigerantSet::Def(const std::string& name) const {
    return *source_->FindRefrigerant(name);
}

// ---------------------------------------------------------------------------------------------
// Compressors

std::vector<CompressorEntry> EnumerateCompressors(const CatalogueSource& source) {
    std::vector<CompressorEntry> out;
    int id = 0;
    int mKey = 0;
    for (const CompressorFamilyDef& f : source.compressorFamilies) {
        for (const CompressorModelDef& m : f.models) {
            ++mKey;
            for (const VariantDef& v : f.variants) {
                if (!v.models.empty() && std::find(v.models.begin(), v.models.end(), m.name) == v.models.end())
                    continue;
                for (int supply : v.supplies) {
                    CompressorEntry e;
                    e.id = ++id;
                    e.mKey = mKey;
                    e.family = &f;
                    e.model = &m;
                    e.variant = &v;
                    e.refrigerant = source.FindRefrigerant(v.refrigerant);
                    e.supply = source.FindSupply(supply);
                    e.envelope = &f.envelopes.at(v.envelope);
                    out.push_back(e);
                }
            }
        }
    }
    return out;
}

RatingTarget TargetOf(const CompressorEntry& e, RefrigerantSet& refrigerants, int step) {
    RatingTarget t;
    t.family = e.family;
    t.model = e.model;
    t.refrigerantDef = e.refrigerant;
    t.supply = e.supply;
    t.envelope = e.envelope;
    t.refrigerant = &refrigerants.Get(e.refrigerant->name);
    t.step = step;
    return t;
}

OperatingConditions RatedConditionsAt(const RatingTarget& t, double x, double y) {
    const RatingDef& r = t.family->rating;
    if (r.ratedAtSuperheat) return ConditionsAt(t, x, y, r.ratedSuction, r.ratedSubcooling);
    // Rated at a suction gas temperature: the suction gas temperature is the input.
    OperatingConditions c = ConditionsAt(t, x, y, 10.0, r.ratedSubcooling);
    c.useSGR = true;
    c.suctionGasReturn = r.ratedSuction;
    Resolve(c, t.refrigerant);
    return c;
}

Verification VerifyRatingSet(const CatalogueSource& source, const RatingTarget& t, const GeneratedSet& g, int stride) {
    Verification v;
    if (stride <= 0) return v;
    RatingDataFixture data;
    for (const EnvelopeTypeDef& e : source.envelopeTypes)
        data.AddEnvelopeType(static_cast<std::int16_t>(e.id), static_cast<std::int16_t>(e.kind), Single(e.limit),
                             e.returnGas, e.name);
    TcrateObj& set = data.Build(g.builder);
    TSupply supply;
    supply.SetName(t.supply->name);
    supply.id = t.supply->code;
    supply.frequency = t.supply->hertz;
    supply.voltage = Single(t.supply->voltage);
    supply.phases = Single(t.supply->phases);
    TComp comp;
    comp.SetName(t.model->name);
    comp.refrigerant = t.refrigerant;
    comp.refrigerantNumber = t.refrigerantDef->code;
    comp.supply = &supply;
    comp.familyNumber = t.family->code;
    comp.ratingSetA = &set;
    comp.SetLoad(100);
    const int nominal = NominalSpeed(*t.family);
    int counter = 0;
    for (double n : VerifySpeeds(*t.family, t.step)) {
        const double f = n == 0 ? 1.0 : n / nominal;
        if (n != 0) comp.SetSpeed(static_cast<std::int32_t>(n));
        int level = 0;
        if (n != 0 && !(n >= t.envelope->baseSpeed && n <= nominal))
            for (const auto& l : t.envelope->speedLevels)
                if (l.speed == static_cast<int>(n)) level = l.speed;
        for (const Point2& p : FitPoints(*t.envelope, t.family->rating.grid, level)) {
            if (counter++ % stride != 0) continue;
            const OperatingConditions c = RatedConditionsAt(t, p.x, p.y);
            if (c.invalid) {
                ++v.refused;
                continue;
            }
            const ModelStatus status = comp.Evaluate(c, ActivityMode::Compressors);
            if (status < 0) {
                ++v.refused;
                continue;
            }
            const PhysicalResult phys = PhysicalAt(t, g.physics, c, f);
            if (!phys.ok) continue;
            v.capacity = std::max(v.capacity, std::fabs(comp.Result(quantity::CoolingCapacity) / phys.Q - 1.0));
            v.power = std::max(v.power, std::fabs(comp.Result(quantity::PowerInput) / phys.P - 1.0));
            ++v.points;
        }
    }
    return v;
}

namespace {

// ---------------------------------------------------------------------------------------------
// Building the record rows

struct Builder {
    Builder(const CatalogueSource& s, RefrigerantSet& r, const BuildOptions& o) : src(s), refs(r), options(o) {}

    const CatalogueSource& src;
    RefrigerantSet& refs;
    const BuildOptions& options;
    CompiledCatalogue out;
    std::uint16_t nextSet = 1;
    // (family, model, refrigerant, supply) -> compressor report index
    std::map<std::tuple<int, std::string, std::string, int>, std::size_t> compressorIndex;

    ProductDatabase& db() { return out.database; }

    void Headers() {
        auto family = [&](int code, const std::string& name, char sub, char kind, int category) {
            HeaderRow r;
            r.code = static_cast<std::int16_t>(code);
            r.name = name;
            r.marker = sub;
            r.kind = kind;
            r.value = Single(category);
            db().header.push_back(r);
        };
        for (const auto& f : src.compressorFamilies) family(f.code, f.name, f.subLetter, f.kind, f.category);
        for (const auto& f : src.unitFamilies) family(f.code, f.name, f.subLetter, 'U', f.category);
        for (const auto& f : src.ordaFamilies) family(f.code, f.name, f.subLetter, 'V', f.category);
        for (const auto& r : src.refrigerants) {
            HeaderRow row;
            row.code = static_cast<std::int16_t>(r.code);
            row.name = r.name;
            row.marker = 'R';
            row.kind = r.basis;
            row.value = refs.Get(r.name).exponent;
            db().header.push_back(row);
        }
        for (const auto& s : src.supplies) {
            EnvTypeRow row;
            row.name = s.name;
            row.id = static_cast<std::int16_t>(s.code);
            row.flag = 0;
            row.kindOrHertz = static_cast<std::int16_t>(s.hertz);
            row.value1 = Single(s.voltage);
            row.value2 = Single(s.phases);
            db().suppliesAndTypes.push_back(row);
        }
        for (const auto& e : src.envelopeTypes) {
            EnvTypeRow row;
            row.name = e.name;
            row.id = static_cast<std::int16_t>(e.id);
            row.flag = e.returnGas ? 1 : 0;
            row.kindOrHertz = static_cast<std::int16_t>(e.kind);
            row.value1 = Single(e.limit);
            db().suppliesAndTypes.push_back(row);
        }
        for (const auto& h : src.headings) db().headings.push_back({static_cast<std::uint16_t>(h.id), h.selector, h.group});
        for (const auto& m : src.motorCodes) {
            MotorCodeRow row;
            row.id = static_cast<std::uint16_t>(m.id);
            row.code = m.code;
            row.supplyText = m.supplyText;
            row.voltageText = m.voltageText;
            row.connectionText = m.connectionText;
            row.directOnLineText = m.directOnLineText;
            row.currentBasis = Single(m.currentBasis);
            db().motorCodes.push_back(row);
        }
        out.counts.refrigerants = static_cast<int>(src.refrigerants.size());
        out.counts.supplies = static_cast<int>(src.supplies.size());
    }

    void Tech(std::vector<TechDataRow>& list, int key, int heading, const std::string& text, double value = 0) {
        if (text.empty()) return;
        TechDataRow row;
        row.modelKey = static_cast<std::uint16_t>(key);
        row.headingId = static_cast<std::uint16_t>(heading);
        row.text = text.substr(0, 35);
        row.value = Single(value);
        list.push_back(row);
    }

    void Accessories(const AccessoryList& a, int key, char kind) {
        for (int pass = 0; pass < 2; ++pass) {
            for (int textKey : pass == 0 ? a.included : a.optional) {
                AccessoryRow row;
                row.modelKey = static_cast<std::uint16_t>(key);
                row.headingId = static_cast<std::uint16_t>(src.accessoryHeadings.at(textKey));
                row.textKey = static_cast<std::uint16_t>(textKey);
                row.productKind = kind;
                row.list = pass == 0 ? 'I' : 'O';
                db().accessories.push_back(row);
            }
        }
    }

    static std::array<std::uint8_t, 20> MotorSlots(const SupplyDef& s) {
        std::array<std::uint8_t, 20> slots{};
        for (std::size_t i = 0; i < s.motorCodes.size() && i < slots.size(); ++i)
            slots[i] = static_cast<std::uint8_t>(s.motorCodes[i]);
        return slots;
    }

    void AddSet(const GeneratedSet& g) {
        RatingSetRow set;
        set.bytes = g.builder.Record();
        db().ratingSets.push_back(set);
        for (const auto& row : g.builder.PointRecords()) db().envelopePoints.push_back(EnvelopePointRow::FromBytes(row));
        if (const auto speed = g.builder.SpeedRecord()) db().speedData.push_back(SpeedDataRow::FromBytes(*speed));
    }

    void Compressors() {
        const std::vector<CompressorEntry> entries = EnumerateCompressors(src);
        std::set<int> mKeysWritten;
        std::set<int> rKeysWritten;
        const CompressorFamilyDef* current = nullptr;
        double familyWorst = 0;
        for (const CompressorEntry& e : entries) {
            const CompressorFamilyDef& f = *e.family;
            if (&f != current) {
                if (current && options.progress)
                    *options.progress << fmt::format("  family {:2} {:<36} worst fit {:.2f} %\n", current->code,
                                                     current->name, 100.0 * familyWorst);
                current = &f;
                familyWorst = 0;
            }
            CompressorReport report;
            report.entry = e;
            std::array<std::uint16_t, 3> indices{};
            for (int step = 0; step < StepCount(f); ++step) {
                const RatingTarget t = TargetOf(e, refs, step);
                const std::uint16_t index = nextSet++;
                GeneratedSet g = GenerateRatingSet(t, index);
                SetReport sr;
                sr.index = index;
                sr.step = step;
                sr.kind = f.rating.kind;
                sr.fit = g.report;
                sr.verified = VerifyRatingSet(src, t, g, options.verifyStride);
                CheckBounds(t, sr);
                familyWorst = std::max({familyWorst, sr.fit.capacity, sr.fit.power});
                report.sets.push_back(sr);
                if (step == 0) {
                    report.maxPower = g.maxPower;
                    report.maxCurrent = g.maxCurrent;
                }
                indices[static_cast<std::size_t>(step)] = index;
                AddSet(g);
            }
            const BodyDef& body = f.bodies.at(e.model->body);
            CompressorRow row;
            row.id = static_cast<std::uint16_t>(e.id);
            row.name = e.model->name;
            row.letter = 'C';
            row.familyCode = static_cast<std::int16_t>(f.code);
            row.refrigerantCode = static_cast<std::int16_t>(e.refrigerant->code);
            row.supplyCode = static_cast<std::int16_t>(e.supply->code);
            row.motorCodes = MotorSlots(*e.supply);
            row.ratingSetA = indices[0];
            row.ratingSetB = indices[1];
            row.ratingSetC = indices[2];
            row.massFlowFactor = 1.0f;
            row.capacityFactor = 1.0f;
            row.powerFactor = 1.0f;
            row.rKey = static_cast<std::uint16_t>(f.accessoryKey);
            row.mKey = static_cast<std::uint16_t>(e.mKey);
            row.drawingNumber = static_cast<std::uint16_t>(body.drawing);
            row.applicationMask = static_cast<std::uint16_t>(e.variant->applicationMask);
            row.ratingByte = static_cast<std::uint8_t>(f.ratingByte);
            db().compressors.push_back(row);

            // Electrical data of this record.
            auto& tech = db().compressorTechData;
            const double moc = std::ceil(report.maxCurrent * 1.15 * 10.0) / 10.0;
            const double lra = std::round(moc * (e.supply->phases == 1 ? 4.2 : 5.5));
            Tech(tech, e.id, 1, Fixed(moc, 1), moc);
            Tech(tech, e.id, 2, Fixed(lra, 0), lra);
            Tech(tech, e.id, 3, Fixed(report.maxPower, 2), report.maxPower);
            Tech(tech, e.id, 4, f.physics.current.drive ? "Drive, internal" : f.category >= 11 ? "Electronic module" : "Internal");
            Tech(tech, e.id, 5, e.supply->name);
            // Mechanical data, once per model.
            if (mKeysWritten.insert(e.mKey).second) {
                const bool sixty = std::any_of(f.variants.begin(), f.variants.end(), [&](const VariantDef& v) {
                    return std::any_of(v.supplies.begin(), v.supplies.end(),
                                       [&](int c) { return src.FindSupply(c)->hertz == 60; });
                });
                const bool speedControlled = f.physics.speed || f.physics.inverter;
                std::string displacement = Fixed(e.model->displacement, 2);
                if (speedControlled)
                    displacement += f.physics.speed ? fmt::format(" at {} rpm", f.physics.speed->nominal) : " at 50 Hz";
                else if (sixty)
                    displacement += fmt::format(" / {}", Fixed(e.model->displacement * 1.2, 2));
                Tech(tech, e.mKey, 11, displacement, e.model->displacement);
                Tech(tech, e.mKey, 12, f.technology);
                if (body.cylinders > 0) Tech(tech, e.mKey, 13, std::to_string(body.cylinders), body.cylinders);
                if (body.oil > 0) Tech(tech, e.mKey, 14, Fixed(body.oil, 1), body.oil);
                Tech(tech, e.mKey, 15, body.oilType);
                Tech(tech, e.mKey, 16, Fixed(body.weight, 0), body.weight);
                Tech(tech, e.mKey, 17, body.suction);
                Tech(tech, e.mKey, 18, body.discharge);
                if (body.sound > 0) Tech(tech, e.mKey, 19, Fixed(body.sound, 0), body.sound);
                Tech(tech, e.mKey, 20, body.dimensions);
            }
            if (f.accessoryKey != 0 && rKeysWritten.insert(f.accessoryKey).second)
                Accessories(f.accessories, f.accessoryKey, 'C');
            compressorIndex[{f.code, e.model->name, e.refrigerant->name, e.supply->code}] = out.compressors.size();
            out.compressors.push_back(std::move(report));
        }
        if (current && options.progress)
            *options.progress << fmt::format("  family {:2} {:<36} worst fit {:.2f} %\n", current->code, current->name,
                                             100.0 * familyWorst);
        out.counts.compressorFamilies = static_cast<int>(src.compressorFamilies.size());
        out.counts.compressors = static_cast<int>(entries.size());
        out.counts.ratingSets = nextSet - 1;
        out.counts.physicalModels = entries.empty() ? 0 : entries.back().mKey;
    }

    void CheckBounds(const RatingTarget& t, const SetReport& s) {
        const FitBounds& b = src.bounds;
        const std::string who = fmt::format("{} {} on {} (set {})", t.model->name, t.refrigerantDef->name,
                                            t.supply->name, s.index);
        const auto check = [&](double value, double bound, const char* what, bool percent) {
            if (value > bound)
                out.boundViolations.push_back(
                    percent ? fmt::format("{}: {} deviation {:.2f} % exceeds {:.2f} %", who, what, 100 * value, 100 * bound)
                            : fmt::format("{}: {} deviation {:.2f} K exceeds {:.2f} K", who, what, value, bound));
        };
        check(s.fit.capacity, b.capacity, "capacity", true);
        check(s.fit.power, b.power, "power", true);
        check(s.fit.current, b.current, "current", true);
        if (s.kind == 4)
            check(s.fit.intermediateK, b.capacity, "mass-flow", true);
        else
            check(s.fit.intermediateK, b.intermediateK, "intermediate temperature", false);
        // What the compressor model reads back may add a little to the fit (conversions
        // between dew, mid-point and bubble states); it may not add much.
        check(s.verified.capacity, b.capacity + 0.005, "evaluated capacity", true);
        check(s.verified.power, b.power + 0.005, "evaluated power", true);
        // Rating points are points of the envelope: the model has to accept them at its rated
        // superheat or suction gas temperature (a few may lie in areas that allow no operation).
        if (s.verified.refused > (s.verified.points + s.verified.refused) / 4)
            out.boundViolations.push_back(fmt::format(
                "{}: the envelope refuses {} of {} rating points at the rated suction state (superheat limit?)", who,
                s.verified.refused, s.verified.points + s.verified.refused));
    }

    // The capacity factor of a condenser: heat rejection per kelvin above the ambient, sized at
    // the unit's design point (evaporating designTe, condensing 32 degC ambient + designTD).
    double CondenserCoefficient(const CompressorReport& c, double designTe, double designTD) {
        const RatingTarget t = TargetOf(c.entry, refs, 0);
        const CompressorPhysics physics = BuildPhysics(t);
        const double tc = 32.0 + designTD;
        const OperatingConditions cond = RatedConditionsAt(t, designTe, tc);
        const PhysicalResult r = PhysicalAt(t, physics, cond);
        if (!r.ok) throw std::runtime_error(fmt::format("{}: the condenser cannot be sized", c.entry.model->name));
        return std::round((r.Q + r.P) / designTD * 1000.0) / 1000.0;
    }

    const CompressorReport& FindCompressor(int family, const std::string& model, const std::string& ref, int supply) {
        return out.compressors.at(compressorIndex.at({family, model, ref, supply}));
    }

    int nextUnit = 1;
    void Unit(const std::string& name, int family, const CompressorReport& comp, double coefficient, double fanPower,
              int drawing, int ratingClass, double fans) {
        CondensingUnitRow row;
        row.id = static_cast<std::uint16_t>(nextUnit);
        row.name = name;
        row.letter = 'U';
        row.familyCode = static_cast<std::int16_t>(family);
        row.compressorId = static_cast<std::uint16_t>(comp.entry.id);
        row.motorCodes = MotorSlots(*comp.entry.supply);
        row.condenserCoefficient = Single(coefficient);
        row.fanPower = Single(fanPower);
        row.drawingNumber = static_cast<std::uint16_t>(drawing);
        row.ratingClass = static_cast<std::uint8_t>(ratingClass);
        row.maxCondensingPressure = Single(comp.entry.refrigerant->unitMaxPressure);
        db().condensingUnits.push_back(row);
        // Electrical data of the unit.
        auto& tech = db().unitTechData;
        const double fanCurrent = fanPower / (comp.entry.supply->phases == 1 ? comp.entry.supply->voltage
                                                                             : 1.732050808 * comp.entry.supply->voltage) /
                                  0.8;
        const double moc = std::ceil((comp.maxCurrent * 1.15 + fanCurrent) * 10.0) / 10.0;
        Tech(tech, nextUnit, 31, Fixed(moc, 1), moc);
        Tech(tech, nextUnit, 32, fmt::format("{} x {}", static_cast<int>(fans), Fixed(fanPower / fans, 0)), fanPower);
        Tech(tech, nextUnit, 33, comp.entry.model->name);
        ++nextUnit;
    }

    void UnitMechanical(int drawing, double airFlow, double receiver, const std::string& liquid,
                        const std::string& suction, double weight, double sound, int fans) {
        auto& tech = db().unitTechData;
        if (airFlow > 0) Tech(tech, drawing, 21, Fixed(airFlow, 0), airFlow);
        if (receiver > 0) Tech(tech, drawing, 22, Fixed(receiver, 1), receiver);
        Tech(tech, drawing, 23, liquid);
        Tech(tech, drawing, 24, suction);
        if (weight > 0) Tech(tech, drawing, 25, Fixed(weight, 0), weight);
        if (sound > 0) Tech(tech, drawing, 26, Fixed(sound, 0), sound);
        Tech(tech, drawing, 27, std::to_string(fans), fans);
    }

    void Units() {
        std::set<int> drawingsWritten;
        for (const UnitDef& u : src.units) {
            for (const std::string& r : u.refrigerants) {
                for (int supply : u.supplies) {
                    const CompressorReport& comp = FindCompressor(u.compressorFamily, u.compressor, r, supply);
                    Unit(u.name, u.family, comp, CondenserCoefficient(comp, u.designTe, u.designTD), u.fanPower,
                         u.drawing, u.ratingClass, u.fans);
                    ++out.counts.units;
                }
            }
            if (drawingsWritten.insert(u.drawing).second) {
                UnitMechanical(u.drawing, u.airFlow, u.receiver, u.liquid, u.suction, u.weight, u.sound, u.fans);
                Accessories(u.accessories, u.drawing, 'U');
            }
        }
        static const char* kRoles[] = {"NLO", "NO", "NL", "N"};
        for (const NetworkDef& n : src.networks) {
            for (const std::string& r : n.refrigerants) {
                for (int supply : n.supplies) {
                    const CompressorReport& comp = FindCompressor(n.compressorFamily, n.compressor, r, supply);
                    const double coefficient = CondenserCoefficient(comp, n.designTe, n.designTD);
                    for (const char* role : kRoles) {
                        const bool master = role[std::string_view(role).size() - 1] == 'O';
                        Unit(fmt::format("{}-{}-{}", n.base, role, n.edition), n.family, comp, coefficient,
                             master ? n.masterFanPower : n.slaveFanPower, master ? n.masterDrawing : n.slaveDrawing,
                             n.ratingClass, 1);
                        ++out.counts.networkUnits;
                    }
                }
            }
            for (int drawing : {n.masterDrawing, n.slaveDrawing}) {
                if (!drawingsWritten.insert(drawing).second) continue;
                UnitMechanical(drawing, n.airFlow, n.receiver, n.liquid, n.suction, n.weight, n.sound, 1);
                Accessories(n.accessories, drawing, 'U');
            }
        }
        out.counts.unitFamilies = static_cast<int>(src.unitFamilies.size());
    }

    void Orda() {
        // One correction group per component type and refrigerant, numbered in order of use.
        std::map<std::pair<char, std::string>, int> groups;
        int nextValve = 1;
        for (const OrdaValveDef& v : src.valves) {
            for (const std::string& r : v.refrigerants) {
                const RefrigerantDef& def = *src.FindRefrigerant(r);
                Trefrigerant& ref = refs.Get(r);
                auto [it, added] = groups.emplace(std::make_pair(v.type, r), static_cast<int>(groups.size()) + 1);
                if (added) {
                    const CorrectionTable table = BuildCorrectionTable(v.type, def, ref);
                    for (std::size_t i = 0; i < table.rows.size(); ++i) {
                        OrdaCorrectionRow row;
                        row.groupId = static_cast<std::int16_t>(it->second);
                        row.groupValue = static_cast<std::uint16_t>(def.code);
                        row.typeLetter = v.type;
                        row.rowValue = Single(table.y0 + 5.0 * static_cast<double>(i));
                        row.columnOrigin = Single(table.x0);
                        row.factors = table.rows[i];
                        db().ordaCorrections.push_back(row);
                    }
                }
                const ValveRating rating = RateValve(v, def, ref);
                if (!(rating.nominal > 0))
                    throw std::runtime_error(fmt::format("{}: {} has no capacity on {}", v.where.file, v.name, r));
                OrdaModelRow row;
                row.id = static_cast<std::uint16_t>(nextValve);
                row.name = v.name;
                row.secondName = v.secondName;
                row.familyCode = static_cast<std::int16_t>(v.family);
                row.refrigerantCode = static_cast<std::int16_t>(def.code);
                row.groupId = static_cast<std::uint16_t>(it->second);
                row.nominalCapacity = Single(rating.nominal);
                row.secondValue = Single(rating.second);
                row.drawingNumber = static_cast<std::uint16_t>(v.drawing);
                db().ordaModels.push_back(row);
                for (const auto& [shortText, longText] : v.tech) {
                    OrdaTechRow t;
                    t.valveKey = row.id;
                    t.headingId = 0;
                    t.shortText = shortText;
                    t.longText = longText;
                    db().ordaTechData.push_back(t);
                }
                const auto headed = [&](int heading, double value, int decimals) {
                    if (!(value > 0)) return;
                    OrdaTechRow t;
                    t.valveKey = row.id;
                    t.headingId = static_cast<std::uint16_t>(heading);
                    t.shortText = Fixed(value, decimals);
                    t.longText = Fixed(value, decimals);
                    t.value = Single(value);
                    db().ordaTechData.push_back(t);
                };
                headed(51, v.maxPressure, 1);
                headed(52, v.weight, 2);
                Accessories(v.accessories, nextValve, 'V');
                ++nextValve;
            }
        }
        out.counts.ordaFamilies = static_cast<int>(src.ordaFamilies.size());
        out.counts.valves = nextValve - 1;
        out.counts.correctionGroups = static_cast<int>(groups.size());
    }

    void Drawings() {
        for (const DrawingDef& d : src.drawings)
            for (int number : d.numbers) {
                DrawingRow row;
                row.number = static_cast<std::int16_t>(number);
                row.fileName = d.file;
                row.productKind = d.kind;
                db().drawings.push_back(row);
            }
        out.counts.drawings = static_cast<int>(src.drawings.size());
    }

    void Language() {
        std::string s = fmt::format("; Texts of the sample product range (fictitious models, physically derived).\n"
                                    "; Generated from the catalogue source; the language files take this section over.\n"
                                    "[{}]\n", src.languageSection);
        for (const auto& f : src.compressorFamilies) s += fmt::format("str{}{}{}={}\n", f.kind, f.subLetter, f.code, f.name);
        for (const auto& f : src.unitFamilies) s += fmt::format("strU{}{}={}\n", f.subLetter, f.code, f.name);
        for (const auto& f : src.ordaFamilies) s += fmt::format("strVA{}={}\n", f.code, f.name);
        for (const auto& h : src.headings) s += fmt::format("{}={}\n", h.id, h.text);
        for (const auto& [key, text] : src.accessoryTexts) s += fmt::format("{}={}\n", key, text);
        for (const auto& [key, text] : src.texts) s += fmt::format("{}={}\n", key, text);
        out.languageSection = s;
    }

    void Notes() {
        const std::string provenance = fmt::format(
            "<p><i>{}</i></p>\n<p><small>Sample database of {} ({} compressor models in {} families, {} condensing "
            "units, {} Orda components).</small></p>\n",
            src.provenance, src.databaseDateText, out.counts.compressors, out.counts.compressorFamilies,
            out.counts.units + out.counts.networkUnits, out.counts.valves);
        for (const auto& [stem, html] : src.notes) {
            std::string text = html;
            const std::size_t end = text.rfind("</body>");
            if (end != std::string::npos)
                text.insert(end, provenance);
            else
                text += provenance;
            out.notes[stem + "01.dat"] = text;
        }
        out.counts.notes = static_cast<int>(src.notes.size());
    }

    void Climates() {
        // Twelve bins of 5 K around the mean; the hours of the year spread as a normal
        // distribution of the climate's annual temperatures, split into day and night.
        constexpr std::size_t kRecord = 174;
        for (const ClimateDef& c : src.climates) {
            std::vector<std::uint8_t> rec(kRecord, 0);
            const std::string name = Utf8ToWindows1252(c.name).substr(0, 29);
            rec[0] = static_cast<std::uint8_t>(name.size());
            std::copy(name.begin(), name.end(), rec.begin() + 1);
            const double first = std::round(c.mean - 27.5);
            std::array<double, 12> share{};
            double total = 0;
            for (int i = 0; i < 12; ++i) {
                const double lo = first + 5.0 * i - 2.5, hi = lo + 5.0;
                const auto cdf = [&](double t) { return 0.5 * std::erfc(-(t - c.mean) / (c.spread * std::sqrt(2.0))); };
                share[static_cast<std::size_t>(i)] = cdf(i == 11 ? 1e9 : hi) - cdf(i == 0 ? -1e9 : lo);
                total += share[static_cast<std::size_t>(i)];
            }
            for (int i = 0; i < 12; ++i) {
                const double hours = 8760.0 * share[static_cast<std::size_t>(i)] / total;
                // Warmer bins fall more by day.
                const double warm = std::clamp(c.dayShare + 0.02 * (first + 5.0 * i - c.mean), 0.2, 0.95);
                const auto day = static_cast<std::int32_t>(std::lround(hours * warm));
                const auto night = static_cast<std::int32_t>(std::lround(hours)) - day;
                PutSingle(rec, 30 + 4 * static_cast<std::size_t>(i), Single(first + 5.0 * i));
                PutInt32(rec, 78 + 4 * static_cast<std::size_t>(i), day);
                PutInt32(rec, 126 + 4 * static_cast<std::size_t>(i), night);
            }
            out.climates.insert(out.climates.end(), rec.begin(), rec.end());
        }
        out.counts.climates = static_cast<int>(src.climates.size());
    }
};

}  // namespace

CompiledCatalogue BuildCatalogue(const CatalogueSource& source, RefrigerantSet& refrigerants, const BuildOptions& options) {
    Builder b(source, refrigerants, options);
    b.db().date = source.databaseDate;
    b.Headers();
    b.Compressors();
    b.Units();
    b.Orda();
    b.Drawings();
    b.Language();
    b.Notes();
    b.Climates();
    b.out.heatPumps = CompileHeatPumps(source, b.db());
    b.out.counts.envelopePoints = static_cast<int>(b.db().envelopePoints.size());
    return std::move(b.out);
}

// ---------------------------------------------------------------------------------------------
// Writing

namespace {

void WriteText(const fs::path& path, std::string_view text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

fs::path Sibling(const fs::path& output, const char* what) {
    return output.parent_path() / fmt::format(".{}.{}-{}", output.filename().string(), what, ::getpid());
}

}  // namespace

void WriteCatalogue(const CompiledCatalogue& c, const CatalogueSource& source, const fs::path& outputIn,
                    const DrawingWriter& drawings) {
    const fs::path output = fs::absolute(outputIn).lexically_normal();
    std::error_code ec;
    // The folder is replaced as a whole: never a file, nor a folder holding anything else.
    if (fs::exists(output, ec)) {
        if (!fs::is_directory(output, ec))
            throw std::runtime_error(fmt::format("{} is not a folder", output.string()));
        const bool empty = fs::is_empty(output, ec);
        if (!empty && !fs::exists(output / DatabaseFileName(DatabaseFile::Header), ec))
            throw std::runtime_error(fmt::format(
                "{} holds other files than a product database; give a new or an empty folder", output.string()));
    }
    const fs::path sourceFolder = fs::absolute(source.folder).lexically_normal();
    if (!source.folder.empty()) {
        const auto [end, rest] = std::mismatch(output.begin(), output.end(), sourceFolder.begin(), sourceFolder.end());
        if (end == output.end())
            throw std::runtime_error(fmt::format("{} would replace the catalogue source", output.string()));
    }
    fs::create_directories(output.parent_path(), ec);
    const fs::path temp = Sibling(output, "new");
    fs::remove_all(temp, ec);
    try {
        fs::create_directories(temp / kDrawingsFolder);
        fs::create_directories(temp / kNotesFolder);
        WriteProductDatabase(temp, c.database);
        for (const DrawingDef& d : source.drawings) drawings(d, temp / kDrawingsFolder / d.file);
        for (const auto& [file, text] : c.notes) WriteText(temp / kNotesFolder / file, Utf8ToWindows1252(text));
        WriteText(temp / kClimateFile,
                  std::string_view(reinterpret_cast<const char*>(c.climates.data()), c.climates.size()));
        WriteText(temp / kLanguageSectionFile, c.languageSection);
        if (!c.heatPumps.empty())
            WriteText(temp / kHeatPumpFile,
                      std::string_view(reinterpret_cast<const char*>(c.heatPumps.data()), c.heatPumps.size()));
        WriteText(temp / kFitReportFile, FitReportJson(c, source));
    } catch (const std::exception& e) {
        fs::remove_all(temp, ec);
        throw std::runtime_error(fmt::format("writing the catalogue into {}: {}", output.string(), e.what()));
    }
    // Replace the old folder as a whole.
    const fs::path old = Sibling(output, "old");
    fs::remove_all(old, ec);
    if (fs::exists(output)) {
        fs::rename(output, old, ec);
        if (ec) {
            fs::remove_all(temp, ec);
            throw std::runtime_error(fmt::format("cannot replace {}: {}", output.string(), ec.message()));
        }
    }
    fs::rename(temp, output, ec);
    if (ec) {
        const std::string why = ec.message();
        if (fs::exists(old)) fs::rename(old, output, ec);
        fs::remove_all(temp, ec);
        throw std::runtime_error(fmt::format("cannot move the catalogue into {}: {}", output.string(), why));
    }
    fs::remove_all(old, ec);
}

// ---------------------------------------------------------------------------------------------
// Reports

std::string FitSummary(const CompiledCatalogue& c, const CatalogueSource& source) {
    std::string s;
    const CatalogueCounts& n = c.counts;
    s += fmt::format("Catalogue {}: {} compressor families, {} compressor models ({} physical models, {} rating sets), "
                     "{} condensing units and {} network units, {} Orda components in {} correction groups, "
                     "{} refrigerants, {} supplies, {} drawings, {} notes, {} climates\n",
                     source.databaseDateText, n.compressorFamilies, n.compressors, n.physicalModels, n.ratingSets,
                     n.units, n.networkUnits, n.valves, n.correctionGroups, n.refrigerants, n.supplies, n.drawings,
                     n.notes, n.climates);
    s += "Worst deviations of the rating fits (and of the compressor model reading them back):\n";
    s += fmt::format("  {:>3} {:<36} {:>4} {:>5} {:>9} {:>9} {:>9} {:>9} {:>9}\n", "fam", "family", "kind", "sets",
                     "capacity", "power", "current", "read cap", "read pow");
    double worstQ = 0, worstP = 0, worstI = 0, worstH = 0, readQ = 0, readP = 0;
    for (const CompressorFamilyDef& f : source.compressorFamilies) {
        double q = 0, p = 0, i = 0, h = 0, vq = 0, vp = 0;
        int sets = 0;
        for (const CompressorReport& r : c.compressors) {
            if (r.entry.family != &f) continue;
            for (const SetReport& set : r.sets) {
                ++sets;
                q = std::max(q, set.fit.capacity);
                p = std::max(p, set.fit.power);
                i = std::max(i, set.fit.current);
                if (set.kind != 4) h = std::max(h, set.fit.intermediateK);
                vq = std::max(vq, set.verified.capacity);
                vp = std::max(vp, set.verified.power);
            }
        }
        s += fmt::format("  {:>3} {:<36} {:>4} {:>5} {:>8.2f}% {:>8.2f}% {:>8.2f}% {:>8.2f}% {:>8.2f}%{}\n", f.code, f.name,
                         f.rating.kind, sets, 100 * q, 100 * p, 100 * i, 100 * vq, 100 * vp,
                         h > 0 ? fmt::format("  intermediate {:.2f} K", h) : "");
        worstQ = std::max(worstQ, q);
        worstP = std::max(worstP, p);
        worstI = std::max(worstI, i);
        worstH = std::max(worstH, h);
        readQ = std::max(readQ, vq);
        readP = std::max(readP, vp);
    }
    s += fmt::format("  whole range: capacity {:.2f} %, power {:.2f} %, current {:.2f} %, intermediate temperature "
                     "{:.2f} K; read back: capacity {:.2f} %, power {:.2f} % (bounds {:.1f} %, {:.1f} %, {:.1f} %, "
                     "{:.1f} K)\n",
                     100 * worstQ, 100 * worstP, 100 * worstI, worstH, 100 * readQ, 100 * readP,
                     100 * source.bounds.capacity, 100 * source.bounds.power, 100 * source.bounds.current,
                     source.bounds.intermediateK);
    return s;
}

std::string ModelFitLines(const CompiledCatalogue& c) {
    std::string s = fmt::format("  {:>4} {:<10} {:<11} {:<14} {:>4} {:>9} {:>9} {:>9} {:>9} {:>9}\n", "id", "model",
                                "refrigerant", "supply", "sets", "capacity", "power", "current", "read cap", "read pow");
    for (const CompressorReport& r : c.compressors) {
        double q = 0, p = 0, i = 0, vq = 0, vp = 0;
        for (const SetReport& set : r.sets) {
            q = std::max(q, set.fit.capacity);
            p = std::max(p, set.fit.power);
            i = std::max(i, set.fit.current);
            vq = std::max(vq, set.verified.capacity);
            vp = std::max(vp, set.verified.power);
        }
        s += fmt::format("  {:>4} {:<10} {:<11} {:<14} {:>4} {:>8.2f}% {:>8.2f}% {:>8.2f}% {:>8.2f}% {:>8.2f}%\n",
                         r.entry.id, r.entry.model->name, r.entry.refrigerant->name, r.entry.supply->name,
                         r.sets.size(), 100 * q, 100 * p, 100 * i, 100 * vq, 100 * vp);
    }
    return s;
}

std::string FitReportJson(const CompiledCatalogue& c, const CatalogueSource& source) {
    nlohmann::json j;
    j["provenance"] = source.provenance;
    j["databaseDate"] = source.databaseDateText;
    j["bounds"] = {{"capacity", source.bounds.capacity},
                   {"power", source.bounds.power},
                   {"current", source.bounds.current},
                   {"intermediateK", source.bounds.intermediateK}};
    nlohmann::json list = nlohmann::json::array();
    for (const CompressorReport& r : c.compressors) {
        nlohmann::json sets = nlohmann::json::array();
        for (const SetReport& s : r.sets)
            sets.push_back({{"index", s.index},
                            {"step", std::string(1, static_cast<char>('A' + s.step))},
                            {"kind", s.kind},
                            {"points", s.fit.points},
                            {"capacity", s.fit.capacity},
                            {"power", s.fit.power},
                            {"current", s.fit.current},
                            {"intermediate", s.fit.intermediateK},
                            {"forms", s.fit.forms},
                            {"readCapacity", s.verified.capacity},
                            {"readPower", s.verified.power}});
        list.push_back({{"id", r.entry.id},
                        {"name", r.entry.model->name},
                        {"family", r.entry.family->code},
                        {"refrigerant", r.entry.refrigerant->name},
                        {"supply", r.entry.supply->code},
                        {"sets", sets}});
    }
    j["compressors"] = list;
    return j.dump(1);
}

}  // namespace kelvra::catalogue
