#pragma once

#include <QString>

// How the main window shows stored values. Stored telephone numbers and expiration dates are the
// typed digits without punctuation; these rebuild the display form from any text.

// A telephone number as "(800) 555-1234": the digits of the text, missing leading digits (an area
// code never entered) shown as "_", digits beyond ten shown as an extension " x12" when
// arbool_IncludeExtension is true and dropped otherwise. Empty when the text has no digit.
// Formatting a formatted number gives it back unchanged.
QString wf_FormatPhone(const QString& arstr_Phone, bool arbool_IncludeExtension);

// The digits 0-9 of the text, in order.
QString wf_GetPhoneDigits(const QString& arstr_Value);

// A stored expiration date "1203" as "12/03", "103" as "1/03"; empty stays empty; a text of any
// other length is shown after a "/" so that it stands out as not a date.
QString wf_FormatDate(const QString& arstr_Date);

// The picture (0-4) for a stored card type " 1" to " 5", compared exactly; kNoCardPicture for
// anything else.
constexpr int kNoCardPicture = -1;
int CardTypePictureIndex(const QString& cardType);

// The address and caption of the web-address link: "http://" put in front unless the text is
// empty or begins with "http" (exactly, so "https://..." stays as it is and "HTTP://..." does not).
QString WebLinkAddress(const QString& url);
