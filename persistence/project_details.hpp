#pragma once

// The project details: the project and the customer it is for. Reports print them and project
// files store them; place, currency and the two energy prices are also user settings.

#include <cstddef>
#include <string>
#include <string_view>

namespace kelvra {

struct ProjectDetails {
    // Maximum lengths, in characters.
    static constexpr std::size_t kTextLength = 30;
    static constexpr std::size_t kPostcodeLength = 10;
    static constexpr std::size_t kCurrencyLength = 10;
    static constexpr std::size_t kPriceLength = 10;

    std::string project;
    std::string contact;
    std::string company;
    std::string address1;
    std::string address2;
    std::string address3;
    std::string postcode;
    std::string place;
    std::string currency;
    std::string electricity = "1";  // price per kWh, as typed
    std::string directCost = "1";   // direct heating price per kWh, as typed

    // Cuts every value to its maximum length.
    void Limit();

    // A new project: the customer fields are cleared (project, contact, company, addresses,
    // postcode); an electricity price of "0" becomes "1". Place, currency and prices stay.
    void ClearForNewProject();

    bool operator==(const ProjectDetails&) const = default;
};

// The seven fields of the project-details window, top to bottom.
struct CustomerFields {
    std::string project;
    std::string contact;
    std::string company;
    std::string address1;
    std::string address2;
    std::string address3;
    std::string postcode;
};

// OK in the project-details window: the fields become the details, cut to their maximum lengths,
// the postcode in upper case.
void ApplyCustomerFields(const CustomerFields& fields, ProjectDetails& details);

// The fields as the window shows them.
CustomerFields CustomerFieldsOf(const ProjectDetails& details);

// Upper case of the ASCII and Latin-1 letters of a UTF-8 text; other characters unchanged.
std::string UpperCaseText(std::string_view text);

}  // namespace kelvra
