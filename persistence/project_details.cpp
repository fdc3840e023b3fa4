#include "project_details.hpp"

#include "model_text.hpp"
#include "text_encoding.hpp"

namespace kelvra {

void ProjectDetails::Limit() {
    for (std::string* text :
         {&project, &contact, &company, &address1, &address2, &address3, &place})
        *text = CutToCharacters(*text, kTextLength);
    postcode = CutToCharacters(postcode, kPostcodeLength);
    currency = CutToCharacters(currency, kCurrencyLength);
    electricity = CutToCharacters(electricity, kPriceLength);
    directCost = CutToCharacters(directCost, kPriceLength);
}

void ProjectDetails::ClearForNewProject() {
    for (std::string* text :
         {&project, &contact, &company, &address1, &address2, &address3, &postcode})
        text->clear();
    if (electricity == "0") electricity.assign(1, '1');
}

void ApplyCustomerFields(const CustomerFields& fields, ProjectDetails& details) {
    details.project = fields.project;
    details.contact = fields.contact;
    details.company = fields.company;
    details.address1 = fields.address1;
    details.address2 = fields.address2;
    details.address3 = fields.address3;
    details.postcode = UpperCaseText(fields.postcode);
    details.Limit();
}

CustomerFields CustomerFieldsOf(const ProjectDetails& details) {
    return {details.project,  details.contact,  details.company, details.address1,
            details.address2, details.address3, details.postcode};
}

std::string UpperCaseText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        char32_t c = NextCodePoint(text, pos);
        if (c == 0xFFFD && text.substr(start, pos - start) != "\xEF\xBF\xBD") {
            out.append(text.substr(start, pos - start));  // keep a stray byte as it is
            continue;
        }
        if (c >= 'a' && c <= 'z')
            c -= 32;
        else if (c >= 0xE0 && c <= 0xFE && c != 0xF7)  // Latin-1 letters, not the division sign
            c -= 32;
        else if (c == 0xFF)
            c = 0x178;
        AppendUtf8(out, c);
    }
    return out;
}

}  // namespace kelvra
