#include "MainFields.h"

#include "ui_frm_Main.h"

using F = Ui::frm_Main;

const std::array<MainArea, 4>& mainAreas()
{
    // clang-format off
    static const std::array<MainArea, 4> areas{{
        {Category::Personal, nullptr, &F::pb_PersonalFocusBox, nullptr, nullptr, {
            {&F::sle_Name, "Name", "idecl_NameMT", "Name of the user", true, false, false},
            {&F::sle_Address, "Address", "idecl_AddressMT", "Address of the user", false, false, false},
            {&F::sle_City, "City", "idecl_CityMT", "City of the user", false, false, false},
            {&F::sle_State, "State", "idecl_StateMT", "State of the user", false, false, false},
            {&F::sle_ZipCode, "Zip Code", "idecl_ZipCodeMT", "Zip code of the user", false, false, false},
            {&F::sle_DefaultEMailAddress, "E-Mail Address", "idecl_DefaultEMailAddressMT", "E-mail address of the user", false, false, true},
            {&F::sle_PhoneNumber, "Phone Number", "idecl_PhoneNumberMT", "Phone number of the user", false, false, false},
        }},
        {Category::Credit, &F::dao_CreditCard, &F::pb_CreditCardFocusBox, &F::mle_CreditNotes, "Notes on the credit card", {
            {&F::sle_CreditCardID, "Credit Card ID", nullptr, nullptr, false, false, false},
            {&F::sle_CreditCardType, "Card Type", nullptr, nullptr, false, false, false},
            {&F::sle_CreditExpirationDateData, "Expiration Date", nullptr, nullptr, false, false, false},
            {&F::sle_CreditPhoneNumberData, "Phone Number", nullptr, nullptr, false, false, false},
            {&F::sle_CreditAccountName, "Account Name", "idecl_CreditAccountNameMT", "Name on the account", false, false, false},
            {&F::sle_CreditAccountNumber, "Account Number", "idecl_CreditAccountNumberMT", "Account number", false, false, true},
            {&F::sle_CreditCard, "Credit Card", "idecl_CreditCardMT", "Credit Card Name", true, false, false},
            {&F::sle_CreditExpirationDate, nullptr, "idecl_CreditExpirationDateMT", "Account expiration date", false, false, false},
            {&F::sle_CreditPhoneNumber, nullptr, "idecl_CreditPhoneNumberMT", "Phone number of credit card company", false, false, false},
        }},
        {Category::Travel, &F::dao_TravelPrograms, &F::pb_TravelProgramFocusBox, &F::mle_TravelNotes, "Notes on the travel program", {
            {&F::sle_TravelProgramID, "Program ID", nullptr, nullptr, false, false, false},
            {&F::sle_TravelAccountName, "Account Name", "idecl_TravelAccountNameMT", "Name on the travel account", false, false, false},
            {&F::sle_TravelAccountNumber, "Account Number", "idecl_TravelAccountNumberMT", "Account number", false, false, true},
            {&F::sle_TravelPhoneNumber, "Phone Number", "idecl_TravelPhoneNumberMT", "Phone number of the travel program", false, false, false},
            {&F::sle_TravelProgram, "Travel Program", "idecl_TravelProgramMT", "Travel Program Name", true, false, false},
            {&F::sle_TravelProgramType, "Program Type", "idecl_TravelProgramTypeMT", "Travel program type", false, false, false},
            {&F::sle_TravelPINNumber, "PIN Number", "idecl_TravelPINNumberMT", "PIN Number for the travel program", false, true, true},
            {&F::sle_TravelWebAccount, "Web Account", "idecl_TravelWebAccountMT", "Web account for this travel program", false, false, false},
        }},
        {Category::Web, &F::dao_WebAccounts, &F::pb_WebAccountFocusBox, &F::mle_WebNotes, "Notes on the web account", {
            {&F::sle_WebSiteID, "Web Site ID", nullptr, nullptr, false, false, false},
            {&F::sle_WebURL, "URL", nullptr, nullptr, false, false, false},
            {&F::sle_WebAccount, "Web Site", "idecl_WebAccountMT", "Web Account Name", true, false, false},
            {&F::sle_WebLogin, "Login", "idecl_WebLoginMT", "Login name for the web account", false, false, true},
            {&F::sle_WebPassword, "Password", "idecl_WebPasswordMT", "Password for the web account", false, true, true},
            {&F::sle_WebSiteType, "Site Type", "idecl_WebSiteTypeMT", "Type of web site", false, false, false},
            {&F::sle_WebEMailAddress, "E-Mail Address", "idecl_WebEMailAddressMT", "E-mail address for the web account", false, false, true},
        }},
    }};
    // clang-format on
    return areas;
}

const MainArea& mainArea(Category kind)
{
    for (const MainArea& area : mainAreas()) {
        if (area.kind == kind) {
            return area;
        }
    }
    return mainAreas().front();
}
