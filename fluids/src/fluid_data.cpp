#include "fluid_data.hpp"

#include <charconv>
#include <cmath>
#include <sstream>
#include <string>

namespace kelvra::fluids {
namespace {

std::vector<std::string_view> split_words(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
        if (i >= line.size()) break;
        std::size_t j = i;
        while (j < line.size() && line[j] != ' ' && line[j] != '\t' && line[j] != '\r') ++j;
        words.push_back(line.substr(i, j - i));
        i = j;
    }
    return words;
}

bool to_number(std::string_view word, double& out) {
    if (word.empty()) return false;
    if (word.front() == '+') word.remove_prefix(1);
    auto [ptr, ec] = std::from_chars(word.data(), word.data() + word.size(), out);
    return ec == std::errc() && ptr == word.data() + word.size() && std::isfinite(out);
}

bool starts_number(std::string_view word) {
    char c = word.front();
    return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.';
}

enum class Block { none, ideal, residual, ancillary };

}  // namespace

ParseResult parse_fluid(std::string_view text) {
    ParseResult result;
    FluidData& f = result.data;
    Block block = Block::none;
    IdealTerm::Kind ideal_kind{};
    ResidualTerm::Kind residual_kind{};
    Ancillary* anc = nullptr;
    int line_no = 0;
    bool ended = false;

    auto fail = [&](const std::string& what) {
        result.ok = false;
        result.error = "line " + std::to_string(line_no) + ": " + what;
        return result;
    };

    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++line_no;
        if (auto hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
        auto w = split_words(line);
        if (w.empty()) {
            if (end == text.size()) break;
            continue;
        }
        if (ended) return fail("text after the end line");

        if (starts_number(w[0])) {
            std::vector<double> v(w.size());
            for (std::size_t i = 0; i < w.size(); ++i)
                if (!to_number(w[i], v[i])) return fail("not a number: " + std::string(w[i]));
            auto need = [&](std::size_t k) { return v.size() == k; };
            if (block == Block::ideal) {
                IdealTerm t;
                t.kind = ideal_kind;
                switch (ideal_kind) {
                    case IdealTerm::Kind::lead:
                    case IdealTerm::Kind::offset:
                        if (!need(2)) return fail("expected a1 a2");
                        t.a1 = v[0], t.a2 = v[1];
                        break;
                    case IdealTerm::Kind::logtau:
                        if (!need(1)) return fail("expected a");
                        t.a1 = v[0];
                        break;
                    case IdealTerm::Kind::power:
                    case IdealTerm::Kind::planck:
                        if (!need(2)) return fail("expected n t");
                        t.n = v[0], t.t = v[1];
                        break;
                    case IdealTerm::Kind::cp0constant:
                        if (!need(3)) return fail("expected c Tc T0");
                        t.n = v[0], t.Tc = v[1], t.T0 = v[2];
                        break;
                    case IdealTerm::Kind::cp0poly:
                        if (!need(4)) return fail("expected c t Tc T0");
                        t.n = v[0], t.t = v[1], t.Tc = v[2], t.T0 = v[3];
                        if (t.t == -1) return fail("cp0 exponent -1 is not supported");
                        break;
                }
                f.ideal.push_back(t);
            } else if (block == Block::residual) {
                ResidualTerm t;
                t.kind = residual_kind;
                switch (residual_kind) {
                    case ResidualTerm::Kind::power:
                        if (!need(4)) return fail("expected n d t l");
                        t.n = v[0], t.d = v[1], t.t = v[2], t.l = v[3];
                        break;
                    case ResidualTerm::Kind::lemmon:
                        if (!need(5)) return fail("expected n d t l m");
                        t.n = v[0], t.d = v[1], t.t = v[2], t.l = v[3], t.m = v[4];
                        break;
                    case ResidualTerm::Kind::gaussian:
                        if (!need(7)) return fail("expected n d t eta epsilon beta gamma");
                        t.n = v[0], t.d = v[1], t.t = v[2], t.eta = v[3], t.epsilon = v[4],
                        t.beta = v[5], t.gamma = v[6];
                        break;
                    case ResidualTerm::Kind::gaob:
                        if (!need(8)) return fail("expected n d t eta epsilon beta gamma b");
                        t.n = v[0], t.d = v[1], t.t = v[2], t.eta = v[3], t.epsilon = v[4],
                        t.beta = v[5], t.gamma = v[6], t.b = v[7];
                        break;
                    case ResidualTerm::Kind::nonanalytic:
                        if (!need(8)) return fail("expected n a b beta A B C D");
                        t.n = v[0], t.a = v[1], t.b = v[2], t.beta = v[3], t.A = v[4], t.B = v[5],
                        t.C = v[6], t.D = v[7];
                        if (t.beta <= 0) return fail("beta must be positive");
                        break;
                }
                if (t.d < 0 || t.l < 0 || t.m < 0) return fail("negative exponent");
                f.residual.push_back(t);
            } else if (block == Block::ancillary && anc) {
                if (!need(2)) return fail("expected n t");
                anc->n.push_back(v[0]);
                anc->t.push_back(v[1]);
            } else {
                return fail("numbers outside a term block");
            }
            continue;
        }

        std::string_view key = w[0];
        auto number = [&](std::size_t i, double& out) {
            return i < w.size() && to_number(w[i], out);
        };
        block = Block::none;
        anc = nullptr;
        if (key == "end") {
            if (w.size() != 1) return fail("expected: end");
            ended = true;
        } else if (key == "fluid") {
            if (w.size() != 2) return fail("expected: fluid NAME");
            f.name = std::string(w[1]);
        } else if (key == "alias") {
            for (std::size_t i = 1; i < w.size(); ++i) f.aliases.emplace_back(w[i]);
        } else if (key == "reference") {
            f.reference.clear();
            for (std::size_t i = 1; i < w.size(); ++i) {
                if (i > 1) f.reference.push_back(' ');
                f.reference.append(w[i]);
            }
        } else if (key == "molar_mass") {
            if (!number(1, f.molar_mass) || f.molar_mass <= 0) return fail("bad molar mass");
        } else if (key == "gas_constant") {
            if (!number(1, f.gas_constant) || f.gas_constant <= 0) return fail("bad gas constant");
        } else if (key == "reducing") {
            if (!number(1, f.T_reducing) || !number(2, f.rho_reducing) || f.T_reducing <= 0 ||
                f.rho_reducing <= 0)
                return fail("bad reducing state");
        } else if (key == "critical") {
            if (!number(1, f.T_crit) || !number(2, f.p_crit) || !number(3, f.rho_crit) ||
                f.T_crit <= 0 || f.p_crit <= 0 || f.rho_crit <= 0)
                return fail("bad critical point");
        } else if (key == "triple") {
            if (!number(1, f.T_triple) || f.T_triple <= 0) return fail("bad triple-point temperature");
        } else if (key == "T_max") {
            if (!number(1, f.T_max)) return fail("bad T_max");
        } else if (key == "p_max") {
            if (!number(1, f.p_max)) return fail("bad p_max");
        } else if (key == "pseudo_pure") {
            double v = 0;
            if (!number(1, v)) return fail("bad pseudo_pure flag");
            f.pseudo_pure = v != 0;
        } else if (key == "ideal") {
            if (w.size() != 2) return fail("expected: ideal KIND");
            static const std::pair<std::string_view, IdealTerm::Kind> kinds[] = {
                {"lead", IdealTerm::Kind::lead},       {"logtau", IdealTerm::Kind::logtau},
                {"power", IdealTerm::Kind::power},     {"planck", IdealTerm::Kind::planck},
                {"offset", IdealTerm::Kind::offset},   {"cp0constant", IdealTerm::Kind::cp0constant},
                {"cp0poly", IdealTerm::Kind::cp0poly}};
            bool found = false;
            for (auto& [name, kind] : kinds)
                if (w[1] == name) ideal_kind = kind, found = true;
            if (!found) return fail("unknown ideal-gas term kind " + std::string(w[1]));
            block = Block::ideal;
        } else if (key == "residual") {
            if (w.size() != 2) return fail("expected: residual KIND");
            static const std::pair<std::string_view, ResidualTerm::Kind> kinds[] = {
                {"power", ResidualTerm::Kind::power},
                {"lemmon", ResidualTerm::Kind::lemmon},
                {"gaussian", ResidualTerm::Kind::gaussian},
                {"gaob", ResidualTerm::Kind::gaob},
                {"nonanalytic", ResidualTerm::Kind::nonanalytic}};
            bool found = false;
            for (auto& [name, kind] : kinds)
                if (w[1] == name) residual_kind = kind, found = true;
            if (!found) return fail("unknown residual term kind " + std::string(w[1]));
            block = Block::residual;
        } else if (key == "ancillary") {
            if (w.size() != 8) return fail("expected: ancillary KIND FORM T_r X_r Tmin Tmax USES_T_R");
            if (w[1] == "pS") anc = &f.p_sat;
            else if (w[1] == "pL") anc = &f.p_liquid;
            else if (w[1] == "pV") anc = &f.p_vapour;
            else if (w[1] == "rhoL") anc = &f.rho_liquid;
            else if (w[1] == "rhoV") anc = &f.rho_vapour;
            else return fail("unknown ancillary " + std::string(w[1]));
            *anc = Ancillary{};
            anc->present = true;
            anc->form = w[2] == "rhoLnoexp" ? Ancillary::Form::noexp_sum : Ancillary::Form::exp_sum;
            double uses = 0;
            if (!number(3, anc->T_r) || !number(4, anc->reducing_value) || !number(5, anc->Tmin) ||
                !number(6, anc->Tmax) || !number(7, uses) || anc->T_r <= 0 || anc->reducing_value <= 0)
                return fail("bad ancillary header");
            anc->using_tau_r = uses != 0;
            block = Block::ancillary;
        } else {
            return fail("unknown keyword " + std::string(key));
        }
        if (end == text.size()) break;
    }

    line_no = 0;
    if (!ended) return fail("no end line: the file is truncated");
    if (f.name.empty()) return fail("no fluid name");
    if (f.molar_mass <= 0 || f.gas_constant <= 0 || f.T_reducing <= 0 || f.rho_crit <= 0 ||
        f.T_triple <= 0 || f.T_max <= f.T_triple || f.p_max <= 0)
        return fail("incomplete fluid header (molar mass, gas constant, reducing and critical "
                    "state, triple point, T_max, p_max are all required)");
    if (f.ideal.empty() || f.residual.empty()) return fail("no equation-of-state terms");
    if (f.residual.size() > 64) return fail("more than 64 residual terms");
    if (f.pseudo_pure ? !(f.p_liquid.present && f.p_vapour.present) : !f.p_sat.present)
        return fail("missing saturation-pressure ancillary");
    if (!f.rho_liquid.present || !f.rho_vapour.present) return fail("missing density ancillaries");
    for (const Ancillary* a : {&f.p_sat, &f.p_liquid, &f.p_vapour, &f.rho_liquid, &f.rho_vapour})
        if (a->present && (a->n.empty() || a->Tmax <= a->Tmin)) return fail("empty ancillary");
    result.ok = true;
    result.error.clear();
    return result;
}

}  // namespace kelvra::fluids
