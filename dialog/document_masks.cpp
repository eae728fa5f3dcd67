#include "dialog/document_masks.h"

namespace Cli_Tzc04182 {

namespace {

std::string_view Group(std::string_view text, std::size_t from, std::size_t count)
{
    return from < text.size() ? text.substr(from, count) : std::string_view();
}

}  // namespace

std::string ExtraiDigitos(std::string_view text)
{
    std::string digits;
    for (const char c : text)
        if (c >= '0' && c <= '9')
            digits += c;
    return digits;
}

bool HasLetter(std::string_view text)
{
    for (const char c : text)
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
            return true;
    return false;
}

std::string CnpjMask(std::string_view document)
{
    std::string shown;
    shown.append(Group(document, 0, 2)).append(".").append(Group(document, 2, 3)).append(".");
    shown.append(Group(document, 5, 3)).append("/").append(Group(document, 8, 4)).append("-");
    return shown.append(Group(document, 12, 2));
}

std::string CpfMask(std::string_view document)
{
    std::string shown;
    shown.append(Group(document, 0, 3)).append(".").append(Group(document, 3, 3)).append(".");
    return shown.append(Group(document, 6, 3)).append("-").append(Group(document, 9, 2));
}

std::string TypedDocumentMask(std::string_view document)
{
    if (document.size() >= 12)
        return CnpjMask(document);
    std::string shown;
    for (std::size_t i = 0; i < document.size(); ++i) {
        shown += document[i];
        if (i == 2 || i == 5)
            shown += '.';
        else if (i == 8)
            shown += '-';
    }
    return shown;
}

}  // namespace Cli_Tzc04182
