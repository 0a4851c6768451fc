#pragma once

#include <QString>

// How the main window shows stored values. Stored telephone numbers and expiration dates are the
// typed digits without punctuation; these rebuild the display form from any text.

// A telephone number as "(800) 555-1234": the digits of the text, missing leading digits (an area
// code never entered) shown as "_", digits beyond ten shown as an extension " x12" when
// arbool_IncludeExtension is true and dropped otherwise. Empty when the text has no digit.
// A number stored with its positions, ten characters of digits and "_" ("55512_____" for an
// entry left unfinished), is shown in those positions: "(555) 12_-____".
// Formatting a formatted number gives it back unchanged.
QString wf_FormatPhone(const QString& arstr_Phone, bool arbool_IncludeExtension);

// The digits 0-9 of the text, in order.
QString wf_GetPhoneDigits(const QString& arstr_Value);

// A stored expiration date "1203" as "12/03", "103" as "1/03"; empty stays empty; a text of any
// other length is shown after a "/" so that it stands out as not a date.
QString wf_FormatDate(const QString& arstr_Date);

// The card type 1 to 5 of a stored card type " 1" to " 5", compared exactly, numbered as the
// card pictures and names are; 0 for anything else.
int StoredCardType(const QString& stored);

// The address and caption of the web-address link: an address that names its scheme, in any case
// ("https://...", "HTTP://...", "mailto:...", "ftp://..."), stays as it is; "http://" is put in
// front of one that names none ("example.org", "localhost:8080"). An empty text stays empty.
QString WebLinkAddress(const QString& url);

// Whether the address names its scheme: letters, digits, "+", "-" or "." from a letter up to a
// colon, unless what follows the colon is a port number ("localhost:8080/").
bool HasUrlScheme(const QString& url);
