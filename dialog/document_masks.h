#pragma once
// The written forms of a document number, used while it is typed and by the flows that show it.
// Each group takes the characters at its positions; a group beyond the end is empty, and the
// separators are always written.
#include <string>
#include <string_view>

namespace Cli_Tzc04182 {

// The bytes of text that are the digits 0 to 9, in order.
std::string ExtraiDigitos(std::string_view text);
// Whether text holds a letter a to z or A to Z: an alphanumeric CNPJ rather than a number.
bool HasLetter(std::string_view text);

// ab.cde.fgh/ijkl-mn: the first 14 characters.
std::string CnpjMask(std::string_view document);
// abc.def.ghi-jk: the first 11 characters.
std::string CpfMask(std::string_view document);
// The document as the display grows while it is typed: from 12 characters the CNPJ mask, below
// that the CPF mask up to the last character typed (123.456.7, 123.456.789-).
std::string TypedDocumentMask(std::string_view document);

}  // namespace Cli_Tzc04182
