#include "catalogue_source.hpp"

#include <fmt/format.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <set>
#include <sstream>

#include "heat_pump_catalogue.hpp"

namespace kelvra::catalogue {

namespace {

namespace fs = std::filesystem;

Where At(const Node& n) {
    return {n.File(), n.Path()};
}

[[noreturn]] void FailAt(const Where& w, const std::string& problem) {
    throw SourceError(w.file, w.path, problem);
}

std::vector<Point2> ReadLine(const Node& n) {
    std::vector<Point2> out;
    for (const Node& p : n.Elements()) {
        const auto xy = p.Elements();
        if (xy.size() != 2) p.Fail("a point is [x, y]");
        out.push_back({xy[0].Number(-100, 200), xy[1].Number(-100, 200)});
    }
    return out;
}

// A line of an envelope runs upwards: every point at or above the one before it.
void CheckLine(const Node& n, const std::vector<Point2>& line, bool mayBeEmpty) {
    if (line.empty() && !mayBeEmpty) n.Fail("an envelope line needs at least two points");
    if (line.size() == 1) n.Fail("an envelope line needs at least two points");
    for (std::size_t i = 1; i < line.size(); ++i)
        if (line[i].y < line[i - 1].y)
            n.Fail(fmt::format("point {} lies below the point before it; a line runs upwards", i));
}

std::vector<int> ReadIntegers(const Node& n, long long low, long long high) {
    std::vector<int> out;
    for (const Node& e : n.Elements()) out.push_back(static_cast<int>(e.Integer(low, high)));
    return out;
}

std::vector<std::string> ReadTexts(const Node& n) {
    std::vector<std::string> out;
    for (const Node& e : n.Elements()) out.push_back(e.Text());
    return out;
}

AccessoryList ReadAccessories(const Node& parent) {
    AccessoryList a;
    if (auto n = parent.Find("accessories")) {
        n->OnlyKeys({"included", "optional"});
        if (auto i = n->Find("included")) a.included = ReadIntegers(*i, 1, 65535);
        if (auto o = n->Find("optional")) a.optional = ReadIntegers(*o, 1, 65535);
    }
    return a;
}

RatingDef ReadRating(const Node& n) {
    n.OnlyKeys({"kind", "units", "dewData", "ratedSuperheat", "ratedSuctionGas", "ratedSubcooling",
                "technologyCode", "optionWord", "maxDischargeTemp", "massFlowUnit", "grid"});
    RatingDef r;
    r.kind = static_cast<int>(n["kind"].Integer(0, 12));
    if (r.kind == 5 || (r.kind > 6 && r.kind < 10))
        n["kind"].Fail(fmt::format("rating-model kind {} cannot be generated (0-4, 6, 10-12 can)", r.kind));
    const std::string units = n.Text("units", "degC-kW");
    if (units == "degC-kW")
        r.units = RatingUnits::CelsiusKW;
    else if (units == "degF-Btu/h")
        r.units = RatingUnits::FahrenheitBtu;
    else if (units == "degC-W")
        r.units = RatingUnits::CelsiusW;
    else
        n["units"].Fail("units are \"degC-kW\", \"degF-Btu/h\" or \"degC-W\"");
    r.dewData = n.Boolean("dewData", false);
    const bool sh = n.Has("ratedSuperheat"), sg = n.Has("ratedSuctionGas");
    if (sh == sg) n.Fail("give either \"ratedSuperheat\" or \"ratedSuctionGas\"");
    r.ratedAtSuperheat = sh;
    r.ratedSuction = sh ? n["ratedSuperheat"].Number(0, 40) : n["ratedSuctionGas"].Number(-30, 40);
    r.ratedSubcooling = n.Number("ratedSubcooling", 0, 20, 0);
    r.technologyCode = static_cast<int>(n.Integer("technologyCode", 0, 255, 0));
    r.optionWord = static_cast<int>(n.Integer("optionWord", 0, 65535, 0));
    if (r.optionWord == 4 || r.optionWord == 8 || (r.optionWord & 8))
        n["optionWord"].Fail("option words that ignore or cap the actual subcooling are not generated");
    r.maxDischargeTemp = n.Number("maxDischargeTemp", 60, 200, 135);
    const std::string mf = n.Text("massFlowUnit", "kg/s");
    if (mf == "kg/s")
        r.massFlowUnit = 0;
    else if (mf == "lb/h")
        r.massFlowUnit = 1;
    else if (mf == "g/s")
        r.massFlowUnit = 2;
    else
        n["massFlowUnit"].Fail("mass-flow units are \"kg/s\", \"lb/h\" or \"g/s\"");
    r.grid = n.Number("grid", 0.5, 10, 2.5);
    const bool polynomial = r.kind != 0 && r.kind != 10;
    if (!polynomial && r.units != RatingUnits::CelsiusKW)
        n["units"].Fail("the efficiency model has no unit choice");
    if (r.kind == 6 && r.technologyCode != 10)
        n.Fail("CO2 rating data in discharge pressure are transcritical sets: technology code 10");
    if (r.kind == 1 && (r.units == RatingUnits::FahrenheitBtu || r.dewData))
        n.Fail("the absolute-temperature model takes kelvin and mid-point temperatures");
    return r;
}

PhysicsDef ReadPhysics(const Node& n) {
    n.OnlyKeys({"volumetric", "isentropic", "builtInVolumeRatio", "friction", "size", "motor", "current", "speed",
                "inverter", "injection", "loadSteps"});
    PhysicsDef p;
    {
        const Node v = n["volumetric"];
        v.OnlyKeys({"eta0", "clearance", "leakage"});
        p.volumetric.eta0 = v["eta0"].Number(0.3, 1.1);
        p.volumetric.clearance = v.Number("clearance", 0, 0.2, 0);
        p.volumetric.leakage = v.Number("leakage", 0, 0.1, 0);
    }
    {
        const Node e = n["isentropic"];
        e.OnlyKeys({"peak", "optimumRatio", "curvature", "floor"});
        p.isentropic.peak = e["peak"].Number(0.3, 1.0);
        p.isentropic.optimumRatio = e["optimumRatio"].Number(1.2, 20);
        p.isentropic.curvature = e["curvature"].Number(0, 1);
        p.isentropic.floor = e.Number("floor", 0.1, 0.9, 0.3);
    }
    p.builtInVolumeRatio = n.Number("builtInVolumeRatio", 0, 6, 0);
    if (auto fr = n.Find("friction")) {
        fr->OnlyKeys({"base", "perBar"});
        p.frictionBase = fr->Number("base", 0, 0.2, 0);
        p.frictionPerBar = fr->Number("perBar", 0, 0.05, 0);
    }
    if (auto s = n.Find("size")) {
        s->OnlyKeys({"reference", "exponent"});
        p.sizeReference = (*s)["reference"].Number(0.01, 10000);
        p.sizeExponent = (*s)["exponent"].Number(0, 0.2);
    }
    {
        const Node m = n["motor"];
        m.OnlyKeys({"efficiency", "ironShare", "ratingPoint"});
        p.motor.efficiency = m["efficiency"].Number(0.5, 0.99);
        p.motor.ironShare = m.Number("ironShare", 0, 1, 0.35);
        const auto rp = m["ratingPoint"].Elements();
        if (rp.size() != 2) m["ratingPoint"].Fail("the rating point is [evaporating, condensing]");
        p.motor.ratingTe = rp[0].Number(-60, 30);
        p.motor.ratingTc = rp[1].Number(-10, 130);
    }
    if (auto c = n.Find("current")) {
        c->OnlyKeys({"drive", "magnetisingShare", "reactiveGrowth", "powerFactor", "standby"});
        p.current.drive = c->Boolean("drive", false);
        p.current.magnetisingShare = c->Number("magnetisingShare", 0.01, 2, 0.3);
        p.current.reactiveGrowth = c->Number("reactiveGrowth", 0, 1, 0);
        p.current.drivePowerFactor = c->Number("powerFactor", 0.5, 1, 0.95);
        p.current.standby = c->Number("standby", 0, 10, 0.2);
    }
    if (auto s = n.Find("speed")) {
        s->OnlyKeys({"nominal", "fitSpeeds", "volumetric1", "volumetric2", "leakage", "isentropic2"});
        SpeedDef d;
        d.nominal = static_cast<int>((*s)["nominal"].Integer(600, 12000));
        d.fitSpeeds = ReadIntegers((*s)["fitSpeeds"], 300, 12000);
        if (d.fitSpeeds.size() < 4) (*s)["fitSpeeds"].Fail("fit the speed polynomials at four speeds or more");
        d.volumetric1 = s->Number("volumetric1", -1, 1, 0);
        d.volumetric2 = s->Number("volumetric2", -1, 1, 0);
        d.leakage = s->Number("leakage", 0, 0.1, 0);
        d.isentropic2 = s->Number("isentropic2", 0, 1, 0);
        p.speed = d;
    }
    if (auto s = n.Find("inverter")) {
        s->OnlyKeys({"frequencies", "volumetric1", "volumetric2", "isentropic2"});
        InverterDef d;
        for (const Node& f : (*s)["frequencies"].Elements()) d.frequencies.push_back(f.Number(10, 150));
        if (d.frequencies.size() < 3) (*s)["frequencies"].Fail("fit the inverter functions at three frequencies or more");
        d.volumetric1 = s->Number("volumetric1", -1, 1, 0);
        d.volumetric2 = s->Number("volumetric2", -1, 1, 0);
        d.isentropic2 = s->Number("isentropic2", 0, 1, 0);
        p.inverter = d;
    }
    if (p.speed && p.inverter) n.Fail("a compressor has speed polynomials or inverter data, not both");
    if (auto j = n.Find("injection")) {
        j->OnlyKeys({"portExponent", "efficiency"});
        Injection inj;
        inj.present = true;
        inj.portExponent = (*j)["portExponent"].Number(0.2, 0.8);
        inj.efficiency = (*j)["efficiency"].Number(0.3, 1.0);
        p.injection = inj;
    }
    if (auto l = n.Find("loadSteps")) {
        for (const Node& s : l->Elements()) {
            s.OnlyKeys({"share", "idleLoss"});
            p.loadSteps.push_back({s["share"].Number(0.2, 0.8), s.Number("idleLoss", 0, 0.2, 0.03)});
        }
        if (p.loadSteps.size() > 2) l->Fail("at most two load steps below full load (sets B and C)");
        if (p.loadSteps.size() == 2 && p.loadSteps[1].share >= p.loadSteps[0].share)
            l->Fail("the second load step is the smaller one");
    }
    return p;
}

EnvelopeSetDef ReadEnvelopeSet(const std::string& name, const Node& n) {
    n.OnlyKeys({"envelopes", "pressureAxis", "baseSpeed", "speedLevels"});
    EnvelopeSetDef set;
    set.name = name;
    set.pressureAxis = n.Boolean("pressureAxis", false);
    for (const Node& e : n["envelopes"].Elements()) {
        e.OnlyKeys({"type", "left", "right", "optionByte"});
        EnvelopeDef d;
        d.type = static_cast<int>(e["type"].Integer(1, 32767));
        d.left = ReadLine(e["left"]);
        if (auto r = e.Find("right")) {
            d.right = ReadLine(*r);
            CheckLine(e["left"], d.left, false);
            CheckLine(*r, d.right, false);
        } else if (d.left.size() < 3) {
            // A special-limit envelope: its left line alone, a closed polygon.
            e["left"].Fail("an envelope without a right line is a closed polygon of three points or more");
        }
        d.optionByte = static_cast<int>(e.Integer("optionByte", 0, 255, 0));
        set.envelopes.push_back(std::move(d));
    }
    if (set.envelopes.empty()) n["envelopes"].Fail("at least one envelope");
    if (set.envelopes.size() > 6) n["envelopes"].Fail("at most six envelopes");
    set.baseSpeed = static_cast<int>(n.Integer("baseSpeed", 0, 12000, 0));
    if (auto l = n.Find("speedLevels")) {
        for (const Node& e : l->Elements()) {
            e.OnlyKeys({"speed", "left", "right"});
            SpeedLevelDef d;
            d.speed = static_cast<int>(e["speed"].Integer(300, 12000));
            d.left = ReadLine(e["left"]);
            d.right = ReadLine(e["right"]);
            CheckLine(e["left"], d.left, false);
            CheckLine(e["right"], d.right, false);
            set.speedLevels.push_back(std::move(d));
        }
        if (set.baseSpeed == 0) n.Fail("speed levels need the base envelope's \"baseSpeed\"");
    }
    return set;
}

BodyDef ReadBody(const std::string& name, const Node& n) {
    n.OnlyKeys({"drawing", "weight", "oil", "oilType", "suction", "discharge", "dimensions", "sound", "cylinders"});
    BodyDef b;
    b.name = name;
    b.drawing = static_cast<int>(n["drawing"].Integer(0, 32767));
    b.weight = n["weight"].Number(0.1, 5000);
    b.oil = n.Number("oil", 0, 100, 0);
    b.oilType = n.Text("oilType", "");
    b.suction = n["suction"].Text(35);
    b.discharge = n["discharge"].Text(35);
    b.dimensions = n.Text("dimensions", "");
    b.sound = n.Number("sound", 0, 130, 0);
    b.cylinders = static_cast<int>(n.Integer("cylinders", 0, 16, 0));
    return b;
}

CompressorFamilyDef ReadCompressorFamily(const Node& n) {
    n.OnlyKeys({"code", "kind", "subLetter", "category", "name", "technology", "ratingByte", "accessoryKey",
                "accessories", "rating", "physics", "envelopes", "variants", "bodies", "models"});
    CompressorFamilyDef f;
    f.where = At(n);
    f.code = static_cast<int>(n["code"].Integer(1, 255));
    f.kind = n["kind"].Letter("CH");
    f.subLetter = n["subLetter"].Letter("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    f.category = static_cast<int>(n["category"].Integer(1, 29));
    static const std::set<int> kCategories = {1, 2, 11, 12, 13};
    if (!kCategories.count(f.category))
        n["category"].Fail("compressor families are of category 1, 2 (scroll), 11, 12 or 13 (semi-hermetic list)");
    f.name = n["name"].Text(35);
    f.technology = n["technology"].Text(35);
    f.ratingByte = static_cast<int>(n["ratingByte"].Integer(1, 255));
    f.accessoryKey = static_cast<int>(n.Integer("accessoryKey", 0, 65535, 0));
    f.accessories = ReadAccessories(n);
    f.rating = ReadRating(n["rating"]);
    f.physics = ReadPhysics(n["physics"]);
    const bool injectionKind = f.rating.kind == 3 || f.rating.kind == 4 || f.rating.kind >= 10;
    if (injectionKind != f.physics.injection.has_value())
        n.Fail(injectionKind ? "vapour-injection rating kinds need \"physics/injection\""
                             : "a compressor with vapour injection needs a vapour-injection rating kind");
    if ((f.physics.speed || f.physics.inverter) && f.rating.kind != 2)
        n.Fail("speed and inverter data are generated for EN 12900 sets (kind 2)");
    if (!f.physics.loadSteps.empty() && (f.physics.speed || f.physics.inverter))
        n.Fail("load steps and speed control are not combined");
    for (const auto& [name, e] : n["envelopes"].Members()) f.envelopes[name] = ReadEnvelopeSet(name, e);
    for (const auto& [name, b] : n["bodies"].Members()) f.bodies[name] = ReadBody(name, b);
    for (const Node& m : n["models"].Elements()) {
        m.OnlyKeys({"name", "displacement", "body"});
        CompressorModelDef d;
        d.where = At(m);
        d.name = m["name"].Text(25);
        d.displacement = m["displacement"].Number(0.05, 2000);
        d.body = m["body"].Text();
        if (!f.bodies.count(d.body)) m["body"].Fail(fmt::format("no body \"{}\" in this family", d.body));
        for (const auto& other : f.models)
            if (other.name == d.name) m["name"].Fail(fmt::format("model \"{}\" is listed twice", d.name));
        f.models.push_back(std::move(d));
    }
    if (f.models.empty()) n["models"].Fail("a family needs models");
    for (const Node& v : n["variants"].Elements()) {
        v.OnlyKeys({"refrigerant", "supplies", "envelope", "applicationMask", "models"});
        VariantDef d;
        d.where = At(v);
        d.refrigerant = v["refrigerant"].Text();
        d.supplies = ReadIntegers(v["supplies"], 1, 32767);
        if (d.supplies.empty()) v["supplies"].Fail("at least one supply");
        d.envelope = v["envelope"].Text();
        if (!f.envelopes.count(d.envelope)) v["envelope"].Fail(fmt::format("no envelope \"{}\" in this family", d.envelope));
        d.applicationMask = static_cast<int>(v.Integer("applicationMask", 0, 3, 0));
        if (auto m = v.Find("models")) {
            d.models = ReadTexts(*m);
            for (std::size_t i = 0; i < d.models.size(); ++i) {
                const bool known = std::any_of(f.models.begin(), f.models.end(),
                                               [&](const CompressorModelDef& x) { return x.name == d.models[i]; });
                if (!known) m->Elements()[i].Fail(fmt::format("no model \"{}\" in this family", d.models[i]));
            }
        }
        const EnvelopeSetDef& env = f.envelopes.at(d.envelope);
        if (f.physics.speed && env.speedLevels.empty())
            v["envelope"].Fail("a variable-speed compressor needs speed levels in its envelope");
        if (env.pressureAxis != (f.rating.technologyCode == 10))
            v["envelope"].Fail("transcritical CO2 sets, and only they, have envelopes over discharge pressure");
        f.variants.push_back(std::move(d));
    }
    if (f.variants.empty()) n["variants"].Fail("a family needs at least one refrigerant variant");
    return f;
}

FamilyDef ReadFamily(const Node& n, char kind) {
    n.OnlyKeys({"code", "subLetter", "category", "name"});
    FamilyDef f;
    f.where = At(n);
    f.kind = kind;
    f.code = static_cast<int>(n["code"].Integer(1, 255));
    f.subLetter = kind == 'V' ? 'A' : n["subLetter"].Letter("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    f.category = static_cast<int>(n["category"].Integer(1, 29));
    f.name = n["name"].Text(35);
    if (kind == 'U' && f.category != 1 && f.category != 11 && f.category != 12)
        n["category"].Fail("condensing-unit families are of category 1, 11 or 12 (network units)");
    if (kind == 'V' && (f.category < 1 || f.category > 7))
        n["category"].Fail("Orda families are of category 1 to 7");
    return f;
}

UnitDef ReadUnit(const Node& n) {
    n.OnlyKeys({"name", "family", "compressorFamily", "compressor", "refrigerants", "supplies", "designTD",
                "designTe", "fanPower", "fans", "drawing", "ratingClass", "airFlow", "receiver", "weight",
                "sound", "liquid", "suction", "accessories"});
    UnitDef u;
    u.where = At(n);
    u.name = n["name"].Text(25);
    u.family = static_cast<int>(n["family"].Integer(1, 255));
    if (u.family == 22 || u.family == 23 || u.family == 26)
        n["family"].Fail("families 22, 23 and 26 are network families: list such units under \"networks\"");
    u.compressorFamily = static_cast<int>(n["compressorFamily"].Integer(1, 255));
    u.compressor = n["compressor"].Text();
    u.refrigerants = ReadTexts(n["refrigerants"]);
    u.supplies = ReadIntegers(n["supplies"], 1, 32767);
    u.designTD = n.Number("designTD", 4, 30, 15);
    u.designTe = n.Number("designTe", -50, 15, -10);
    u.fanPower = n["fanPower"].Number(0, 20000);
    u.fans = static_cast<int>(n.Integer("fans", 1, 8, 1));
    u.drawing = static_cast<int>(n["drawing"].Integer(0, 32767));
    u.ratingClass = static_cast<int>(n.Integer("ratingClass", 1, 9, 1));
    u.airFlow = n.Number("airFlow", 0, 1e6, 0);
    u.receiver = n.Number("receiver", 0, 1000, 0);
    u.weight = n.Number("weight", 0, 5000, 0);
    u.sound = n.Number("sound", 0, 130, 0);
    u.liquid = n.Text("liquid", "");
    u.suction = n.Text("suction", "");
    u.accessories = ReadAccessories(n);
    return u;
}

NetworkDef ReadNetwork(const Node& n) {
    n.OnlyKeys({"base", "family", "compressorFamily", "compressor", "refrigerants", "supplies", "designTD",
                "designTe", "masterFanPower", "slaveFanPower", "masterDrawing", "slaveDrawing", "edition",
                "ratingClass", "airFlow", "receiver", "weight", "sound", "liquid", "suction", "accessories"});
    NetworkDef d;
    d.where = At(n);
    d.base = n["base"].Text(16);
    if (std::count(d.base.begin() + (d.base.empty() ? 0 : 1), d.base.end(), '-') != 1)
        n["base"].Fail("a network base name holds exactly one hyphen (series-size)");
    d.family = static_cast<int>(n["family"].Integer(1, 255));
    if (d.family != 22 && d.family != 23 && d.family != 26) n["family"].Fail("network families are 22, 23 and 26");
    d.compressorFamily = static_cast<int>(n["compressorFamily"].Integer(1, 255));
    d.compressor = n["compressor"].Text();
    d.refrigerants = ReadTexts(n["refrigerants"]);
    d.supplies = ReadIntegers(n["supplies"], 1, 32767);
    d.designTD = n.Number("designTD", 4, 30, 14);
    d.designTe = n.Number("designTe", -50, 15, -10);
    d.masterFanPower = n["masterFanPower"].Number(0, 20000);
    d.slaveFanPower = n["slaveFanPower"].Number(0, 20000);
    d.masterDrawing = static_cast<int>(n["masterDrawing"].Integer(0, 32767));
    d.slaveDrawing = static_cast<int>(n["slaveDrawing"].Integer(0, 32767));
    d.edition = n.Text("edition", "A");
    d.ratingClass = static_cast<int>(n.Integer("ratingClass", 1, 9, 1));
    d.airFlow = n.Number("airFlow", 0, 1e6, 0);
    d.receiver = n.Number("receiver", 0, 1000, 0);
    d.weight = n.Number("weight", 0, 5000, 0);
    d.sound = n.Number("sound", 0, 130, 0);
    d.liquid = n.Text("liquid", "");
    d.suction = n.Text("suction", "");
    d.accessories = ReadAccessories(n);
    const bool d2 = d.base.find('D') != std::string::npos, t = d.base.find('T') != std::string::npos;
    if (d.family == 23 && !d2) n["base"].Fail("two-step network units (family 23) carry \"D\" in the base name");
    if (d.family == 26 && !t) n["base"].Fail("modulated network units (family 26) carry \"T\" in the base name");
    if (d.family == 22 && (d2 || t)) n["base"].Fail("single-step network units carry neither \"D\" nor \"T\"");
    return d;
}

OrdaValveDef ReadValve(const Node& n) {
    n.OnlyKeys({"name", "secondName", "family", "type", "orificeArea", "secondValue", "refrigerants", "drawing",
                "tech", "maxPressure", "weight", "accessories"});
    OrdaValveDef v;
    v.where = At(n);
    v.name = n["name"].Text(25);
    v.secondName = n.Text("secondName", "");
    v.family = static_cast<int>(n["family"].Integer(1, 255));
    v.type = n["type"].Letter("ETSPQRWYZU");
    v.orificeArea = n["orificeArea"].Number(0.01, 20000);
    v.secondValue = n.Number("secondValue", 0, 1000, 0);
    v.refrigerants = ReadTexts(n["refrigerants"]);
    v.drawing = static_cast<int>(n.Integer("drawing", 0, 32767, 0));
    if (auto t = n.Find("tech")) {
        for (const Node& e : t->Elements()) {
            const auto pair = e.Elements();
            if (pair.size() != 2) e.Fail("a technical row is [short text, long text]");
            v.tech.emplace_back(pair[0].Text(25), pair[1].Text(35));
        }
    }
    v.maxPressure = n.Number("maxPressure", 0, 200, 0);
    v.weight = n.Number("weight", 0, 100, 0);
    v.accessories = ReadAccessories(n);
    if (v.type == 'U' && !(v.secondValue > 0))
        n.Fail("a component of type 'U' needs \"secondValue\": its fixed pressure drop in bar");
    return v;
}

DrawingDef ReadDrawing(const Node& n) {
    n.OnlyKeys({"numbers", "file", "kind", "title", "outline", "length", "width", "height", "connections"});
    DrawingDef d;
    d.where = At(n);
    d.numbers = ReadIntegers(n["numbers"], 1, 32767);
    if (d.numbers.empty()) n["numbers"].Fail("a drawing has at least one index number");
    d.file = n["file"].Text(35);
    if (d.file.size() < 5 || d.file.substr(d.file.size() - 4) != ".pdf" ||
        d.file.find_first_of("/\\") != std::string::npos)
        n["file"].Fail("a drawing file is a plain name ending in \".pdf\"");
    d.kind = n["kind"].Letter("CUV");
    d.title = n["title"].Text();
    d.outline = n["outline"].Text();
    static const std::set<std::string> kOutlines = {"scroll", "reciprocating", "semi-hermetic", "unit", "valve"};
    if (!kOutlines.count(d.outline)) n["outline"].Fail("outlines are scroll, reciprocating, semi-hermetic, unit and valve");
    d.length = n["length"].Number(10, 5000);
    d.width = n["width"].Number(10, 5000);
    d.height = n["height"].Number(10, 5000);
    if (auto c = n.Find("connections")) {
        for (const Node& e : c->Elements()) {
            e.OnlyKeys({"label", "size", "side", "position"});
            DrawingConnection k;
            k.label = e["label"].Text();
            k.size = e["size"].Text();
            k.side = e.Text("side", "left");
            if (k.side != "left" && k.side != "right" && k.side != "top") e["side"].Fail("sides are left, right and top");
            k.position = e.Number("position", 0.05, 0.95, 0.5);
            d.connections.push_back(k);
        }
    }
    return d;
}

void ReadMain(CatalogueSource& s, const SourceDocument& doc) {
    const Node root = Node::Root(doc);
    root.OnlyKeys({"provenance", "databaseDate", "languageSection", "fitBounds", "refrigerants", "supplies",
                   "envelopeTypes", "headings", "accessories", "texts", "motorCodes", "climates"});
    s.provenance = root["provenance"].Text();
    if (s.provenance.find("ictitious") == std::string::npos)
        root["provenance"].Fail("the provenance states that the models are fictitious");
    s.databaseDateText = root["databaseDate"].Text();
    const auto serial = SerialDate(s.databaseDateText);
    if (!serial) root["databaseDate"].Fail("the database date is written yyyy-mm-dd");
    s.databaseDate = *serial;
    s.languageSection = root.Text("languageSection", "Catalogue");
    if (auto b = root.Find("fitBounds")) {
        b->OnlyKeys({"capacity", "power", "current", "intermediateK"});
        s.bounds.capacity = b->Number("capacity", 0.001, 0.2, s.bounds.capacity);
        s.bounds.power = b->Number("power", 0.001, 0.2, s.bounds.power);
        s.bounds.current = b->Number("current", 0.001, 0.3, s.bounds.current);
        s.bounds.intermediateK = b->Number("intermediateK", 0.01, 5, s.bounds.intermediateK);
    }
    for (const Node& r : root["refrigerants"].Elements()) {
        r.OnlyKeys({"code", "name", "basis", "criticalDensity", "molarMass", "unitMaxPressure", "exponent"});
        RefrigerantDef d;
        d.where = At(r);
        d.code = static_cast<int>(r["code"].Integer(1, 255));
        d.name = r["name"].Text(35);
        d.basis = r["basis"].Letter("NDM");
        d.criticalDensity = r["criticalDensity"].Number(50, 2000);
        d.molarMass = r["molarMass"].Number(2, 500);
        d.unitMaxPressure = r["unitMaxPressure"].Number(5, 200);
        if (auto e = r.Find("exponent")) d.exponent = e->Number(0.8, 2.0);
        if (d.code == 10 && d.name != "R744") r["code"].Fail("refrigerant code 10 is CO2 (R744)");
        if (d.name == "R744" && d.code != 10) r["code"].Fail("CO2 (R744) is refrigerant code 10");
        for (const auto& o : s.refrigerants)
            if (o.code == d.code || o.name == d.name) r.Fail("refrigerant listed twice");
        s.refrigerants.push_back(d);
    }
    for (const Node& n : root["supplies"].Elements()) {
        n.OnlyKeys({"code", "name", "hertz", "voltage", "phases", "motorCodes"});
        SupplyDef d;
        d.where = At(n);
        d.code = static_cast<int>(n["code"].Integer(1, 32767));
        d.name = n["name"].Text(25);
        d.hertz = static_cast<int>(n["hertz"].Integer(40, 100));
        d.voltage = n["voltage"].Number(50, 1000);
        d.phases = static_cast<int>(n["phases"].Integer(1, 3));
        if (d.phases == 2) n["phases"].Fail("supplies have one or three phases");
        d.motorCodes = ReadIntegers(n["motorCodes"], 1, 255);
        if (d.motorCodes.size() > 20) n["motorCodes"].Fail("a model has twenty motor-code slots");
        for (const auto& o : s.supplies)
            if (o.code == d.code) n.Fail("supply code listed twice");
        s.supplies.push_back(d);
    }
    for (const Node& n : root["envelopeTypes"].Elements()) {
        n.OnlyKeys({"id", "name", "kind", "limit", "returnGas"});
        EnvelopeTypeDef d;
        d.id = static_cast<int>(n["id"].Integer(1, 39));
        d.name = n["name"].Text(25);
        d.kind = static_cast<int>(n["kind"].Integer(0, 39));
        d.limit = n["limit"].Number(-50, 150);
        d.returnGas = n.Boolean("returnGas", false);
        s.envelopeTypes.push_back(d);
    }
    for (const Node& n : root["headings"].Elements()) {
        n.OnlyKeys({"id", "selector", "group", "text"});
        HeadingDef d;
        d.id = static_cast<int>(n["id"].Integer(1, 65535));
        d.selector = n["selector"].Letter("CMR");
        d.group = n["group"].Letter("EMABCDFGHIJKLNOPQRSTUVWXYZ");
        d.text = n["text"].Text(255);
        for (const auto& o : s.headings)
            if (o.id == d.id) n.Fail("heading id listed twice");
        s.headings.push_back(d);
    }
    for (const Node& n : root["accessories"].Elements()) {
        n.OnlyKeys({"key", "heading", "text"});
        const int key = static_cast<int>(n["key"].Integer(1, 65535));
        const int heading = static_cast<int>(n["heading"].Integer(1, 65535));
        const bool known = std::any_of(s.headings.begin(), s.headings.end(), [&](const HeadingDef& h) { return h.id == heading; });
        if (!known) n["heading"].Fail(fmt::format("no heading {}", heading));
        if (s.accessoryTexts.count(key)) n["key"].Fail(fmt::format("accessory text {} listed twice", key));
        s.accessoryTexts[key] = n["text"].Text(255);
        s.accessoryHeadings[key] = heading;
    }
    if (auto t = root.Find("texts"))
        for (const auto& [key, value] : t->Members()) s.texts[key] = value.Text(255);
    for (const Node& n : root["motorCodes"].Elements()) {
        n.OnlyKeys({"id", "code", "supply", "voltage", "connection", "directOnLine", "currentBasis"});
        MotorCodeDef d;
        d.id = static_cast<int>(n["id"].Integer(1, 255));
        d.code = n["code"].Text(3);
        d.supplyText = n["supply"].Text(16);
        d.voltageText = n["voltage"].Text(15);
        d.connectionText = n["connection"].Text(15);
        d.directOnLineText = n["directOnLine"].Text(15);
        d.currentBasis = n["currentBasis"].Number(0, 100);
        for (const auto& o : s.motorCodes)
            if (o.id == d.id) n.Fail("motor-code id listed twice");
        s.motorCodes.push_back(d);
    }
    if (auto c = root.Find("climates")) {
        for (const Node& n : c->Elements()) {
            n.OnlyKeys({"name", "mean", "spread", "dayShare"});
            ClimateDef d;
            d.name = n["name"].Text(29);
            d.mean = n["mean"].Number(-30, 40);
            d.spread = n["spread"].Number(1, 25);
            d.dayShare = n.Number("dayShare", 0.3, 0.8, 0.6);
            s.climates.push_back(d);
        }
    }
}

void ReadProducts(CatalogueSource& s, const SourceDocument& doc) {
    const Node root = Node::Root(doc);
    root.OnlyKeys({"compressorFamilies", "unitFamilies", "units", "networks", "ordaFamilies", "valves", "drawings",
                   "heatPumps"});
    if (auto n = root.Find("compressorFamilies"))
        for (const Node& e : n->Elements()) s.compressorFamilies.push_back(ReadCompressorFamily(e));
    if (auto n = root.Find("unitFamilies"))
        for (const Node& e : n->Elements()) s.unitFamilies.push_back(ReadFamily(e, 'U'));
    if (auto n = root.Find("units"))
        for (const Node& e : n->Elements()) s.units.push_back(ReadUnit(e));
    if (auto n = root.Find("networks"))
        for (const Node& e : n->Elements()) s.networks.push_back(ReadNetwork(e));
    if (auto n = root.Find("ordaFamilies"))
        for (const Node& e : n->Elements()) s.ordaFamilies.push_back(ReadFamily(e, 'V'));
    if (auto n = root.Find("valves"))
        for (const Node& e : n->Elements()) s.valves.push_back(ReadValve(e));
    if (auto n = root.Find("drawings"))
        for (const Node& e : n->Elements()) s.drawings.push_back(ReadDrawing(e));
    if (auto n = root.Find("heatPumps"))
        for (const Node& e : n->Elements()) s.heatPumps.push_back(ReadHeatPump(e));
}

// References between the files, checked once everything is read.
void CheckReferences(const CatalogueSource& s) {
    const auto knownSupply = [&](int code) { return s.FindSupply(code) != nullptr; };
    for (const auto& sup : s.supplies)
        for (int id : sup.motorCodes)
            if (std::none_of(s.motorCodes.begin(), s.motorCodes.end(), [&](const MotorCodeDef& m) { return m.id == id; }))
                FailAt(sup.where, fmt::format("no motor code {}", id));
    std::set<std::pair<int, char>> familyKeys;
    const auto addFamily = [&](int code, char kind, const Where& w) {
        const char group = kind == 'H' ? 'C' : kind;  // a heat-pump family answers for compressors too
        if (!familyKeys.insert({code, group}).second) FailAt(w, fmt::format("family code {} is used twice", code));
    };
    std::set<int> envelopeTypeIds;
    for (const auto& t : s.envelopeTypes) envelopeTypeIds.insert(t.id);
    for (const auto& f : s.compressorFamilies) {
        addFamily(f.code, f.kind, f.where);
        for (const auto& [name, b] : f.bodies)
            if (b.drawing != 0 && !s.FindDrawing(b.drawing))
                FailAt(f.where, fmt::format("body \"{}\" names drawing {}, which is not in the drawing index", name, b.drawing));
        for (const auto& [name, set] : f.envelopes)
            for (const auto& e : set.envelopes)
                if (!envelopeTypeIds.count(e.type))
                    FailAt(f.where, fmt::format("envelope \"{}\" names envelope type {}, which is not listed", name, e.type));
        for (int key : f.accessories.included)
            if (!s.accessoryTexts.count(key)) FailAt(f.where, fmt::format("no accessory text {}", key));
        for (int key : f.accessories.optional)
            if (!s.accessoryTexts.count(key)) FailAt(f.where, fmt::format("no accessory text {}", key));
        for (const auto& v : f.variants) {
            const RefrigerantDef* r = s.FindRefrigerant(v.refrigerant);
            if (!r) FailAt(v.where, fmt::format("no refrigerant \"{}\" in catalogue.json", v.refrigerant));
            if (f.rating.kind == 6 && r->code != 10) FailAt(v.where, "CO2 rating data are for R744");
            if ((f.rating.kind == 4 || f.physics.injection) && r->basis != 'N')
                FailAt(v.where, "vapour-injection ratings are generated for single-component refrigerants (basis N)");
            for (int code : v.supplies)
                if (!knownSupply(code)) FailAt(v.where, fmt::format("no supply {}", code));
            if ((f.physics.speed || f.physics.inverter) &&
                std::any_of(v.supplies.begin(), v.supplies.end(), [&](int c) { return s.FindSupply(c)->hertz != 50; }))
                FailAt(v.where, "speed-controlled compressors are rated on 50 Hz supplies");
        }
    }
    // One record per model, refrigerant and supply.
    for (const auto& f : s.compressorFamilies) {
        std::set<std::tuple<std::string, std::string, int>> records;
        for (const auto& v : f.variants)
            for (const auto& m : f.models) {
                if (!v.models.empty() && std::find(v.models.begin(), v.models.end(), m.name) == v.models.end()) continue;
                for (int supply : v.supplies)
                    if (!records.insert({m.name, v.refrigerant, supply}).second)
                        FailAt(v.where, fmt::format("{} on {} and supply {} is offered twice", m.name, v.refrigerant, supply));
            }
    }
    for (const auto& f : s.unitFamilies) addFamily(f.code, 'U', f.where);
    for (const auto& f : s.ordaFamilies) addFamily(f.code, 'V', f.where);
    const auto unitFamily = [&](int code) {
        return std::any_of(s.unitFamilies.begin(), s.unitFamilies.end(), [&](const FamilyDef& f) { return f.code == code; });
    };
    const auto compressorUse = [&](int family, const std::string& model, const std::vector<std::string>& refs,
                                   const std::vector<int>& supplies, const Where& w) {
        const CompressorFamilyDef* f = s.FindCompressorFamily(family);
        if (!f) FailAt(w, fmt::format("no compressor family {}", family));
        if (std::none_of(f->models.begin(), f->models.end(), [&](const auto& m) { return m.name == model; }))
            FailAt(w, fmt::format("no model \"{}\" in compressor family {}", model, family));
        for (const auto& r : refs)
            for (int sup : supplies) {
                const bool offered = std::any_of(f->variants.begin(), f->variants.end(), [&](const VariantDef& v) {
                    return v.refrigerant == r && std::count(v.supplies.begin(), v.supplies.end(), sup) &&
                           (v.models.empty() || std::count(v.models.begin(), v.models.end(), model));
                });
                if (!offered)
                    FailAt(w, fmt::format("compressor \"{}\" is not offered for {} on supply {}", model, r, sup));
            }
    };
    for (const auto& u : s.units) {
        if (!unitFamily(u.family)) FailAt(u.where, fmt::format("no condensing-unit family {}", u.family));
        compressorUse(u.compressorFamily, u.compressor, u.refrigerants, u.supplies, u.where);
        if (u.drawing != 0 && !s.FindDrawing(u.drawing)) FailAt(u.where, fmt::format("no drawing {}", u.drawing));
    }
    for (const auto& n : s.networks) {
        if (!unitFamily(n.family)) FailAt(n.where, fmt::format("no condensing-unit family {}", n.family));
        compressorUse(n.compressorFamily, n.compressor, n.refrigerants, n.supplies, n.where);
        for (int drawing : {n.masterDrawing, n.slaveDrawing})
            if (drawing != 0 && !s.FindDrawing(drawing)) FailAt(n.where, fmt::format("no drawing {}", drawing));
    }
    for (const auto& v : s.valves) {
        if (std::none_of(s.ordaFamilies.begin(), s.ordaFamilies.end(), [&](const FamilyDef& f) { return f.code == v.family; }))
            FailAt(v.where, fmt::format("no Orda family {}", v.family));
        for (const auto& r : v.refrigerants) {
            const RefrigerantDef* d = s.FindRefrigerant(r);
            if (!d) FailAt(v.where, fmt::format("no refrigerant \"{}\"", r));
            if (d->code == 10) FailAt(v.where, "the Orda range has no CO2 components");
        }
        if (v.drawing != 0 && !s.FindDrawing(v.drawing)) FailAt(v.where, fmt::format("no drawing {}", v.drawing));
    }
    std::set<int> drawingNumbers;
    std::set<std::string> drawingFiles;
    for (const auto& d : s.drawings) {
        for (int number : d.numbers)
            if (!drawingNumbers.insert(number).second) FailAt(d.where, fmt::format("drawing number {} listed twice", number));
        if (!drawingFiles.insert(d.file).second) FailAt(d.where, fmt::format("drawing file \"{}\" listed twice", d.file));
    }
    if (s.refrigerants.empty()) throw SourceError("catalogue.json", "/refrigerants", "the catalogue needs refrigerants");
}

}  // namespace

bool AllowsNoOperation(int typeKind) {
    return typeKind == 3 || typeKind == 4 || typeKind == 17;
}

std::optional<double> SerialDate(std::string_view iso) {
    if (iso.size() != 10 || iso[4] != '-' || iso[7] != '-') return std::nullopt;
    int y = 0, m = 0, d = 0;
    try {
        y = std::stoi(std::string(iso.substr(0, 4)));
        m = std::stoi(std::string(iso.substr(5, 2)));
        d = std::stoi(std::string(iso.substr(8, 2)));
    } catch (...) {
        return std::nullopt;
    }
    using namespace std::chrono;
    const year_month_day ymd{year{y}, month{static_cast<unsigned>(m)}, day{static_cast<unsigned>(d)}};
    if (!ymd.ok() || y < 1900) return std::nullopt;
    const year_month_day epoch{year{1899}, month{12}, day{30}};
    return static_cast<double>((sys_days{ymd} - sys_days{epoch}).count());
}

const RefrigerantDef* CatalogueSource::FindRefrigerant(std::string_view name) const {
    for (const auto& r : refrigerants)
        if (r.name == name) return &r;
    return nullptr;
}

const SupplyDef* CatalogueSource::FindSupply(int code) const {
    for (const auto& s : supplies)
        if (s.code == code) return &s;
    return nullptr;
}

const CompressorFamilyDef* CatalogueSource::FindCompressorFamily(int code) const {
    for (const auto& f : compressorFamilies)
        if (f.code == code) return &f;
    return nullptr;
}

const DrawingDef* CatalogueSource::FindDrawing(int number) const {
    for (const auto& d : drawings)
        if (std::count(d.numbers.begin(), d.numbers.end(), number)) return &d;
    return nullptr;
}

CatalogueSource ReadCatalogueSource(const std::filesystem::path& folder) {
    CatalogueSource s;
    s.folder = folder;
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) throw SourceError(folder.string(), "", "is not a folder");
    const fs::path main = folder / "catalogue.json";
    if (!fs::exists(main, ec)) throw SourceError("catalogue.json", "", "missing from the source folder");
    // Every document stays alive while its nodes are read.
    const SourceDocument mainDoc = ParseSourceFile(main, "catalogue.json");
    ReadMain(s, mainDoc);

    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        if (entry.is_regular_file() && entry.path().extension() == ".json" && entry.path().filename() != "catalogue.json")
            files.push_back(entry.path());
    if (ec) throw SourceError(folder.string(), "", "cannot be listed");
    std::sort(files.begin(), files.end());
    for (const auto& f : files) {
        const SourceDocument doc = ParseSourceFile(f, f.filename().string());
        ReadProducts(s, doc);
    }

    // Families in the order of their codes, whichever file holds them.
    const auto byCode = [](const auto& a, const auto& b) { return a.code < b.code; };
    std::stable_sort(s.compressorFamilies.begin(), s.compressorFamilies.end(), byCode);
    std::stable_sort(s.unitFamilies.begin(), s.unitFamilies.end(), byCode);
    std::stable_sort(s.ordaFamilies.begin(), s.ordaFamilies.end(), byCode);

    const fs::path notes = folder / "notes";
    if (fs::is_directory(notes, ec)) {
        for (const auto& entry : fs::directory_iterator(notes, ec)) {
            if (!entry.is_regular_file() || entry.path().extension() != ".html") continue;
            std::ifstream in(entry.path(), std::ios::binary);
            std::ostringstream text;
            text << in.rdbuf();
            const std::string stem = entry.path().stem().string();
            if (stem.empty() || stem.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789") != std::string::npos)
                throw SourceError("notes/" + entry.path().filename().string(), "",
                                  "a notes file is named by its stem in lower-case letters and digits");
            s.notes[stem] = text.str();
        }
    }
    for (auto& f : s.compressorFamilies)
        for (auto& [name, set] : f.envelopes)
            for (auto& e : set.envelopes)
                for (const auto& t : s.envelopeTypes)
                    if (t.id == e.type) e.typeKind = t.kind;  // the last type with the id, as the loader
    CheckReferences(s);
    CheckHeatPumps(s);
    return s;
}

}  // namespace kelvra::catalogue
