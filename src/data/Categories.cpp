#include "Categories.h"

namespace categories {

const std::array<CategoryInfo, 4>& all()
{
    static const std::array<CategoryInfo, 4> kinds{{
        {Category::Personal, QStringLiteral("Personal"), QStringLiteral("Personal Information"),
         QStringLiteral("frm_PersonalInformation"), QStringLiteral("[Personal Information]"),
         QStringLiteral("[Personal Information ID]"), QStringLiteral("[Name]"), QString(), -1},
        {Category::Credit, QStringLiteral("Credit"), QStringLiteral("Credit Cards"), QStringLiteral("frm_CreditCards"),
         QStringLiteral("[Credit Cards]"), QStringLiteral("[Credit Card ID]"), QStringLiteral("[Credit Card]"),
         QStringLiteral("Please enter a name for this credit card."), 0},
        {Category::Travel, QStringLiteral("Travel"), QStringLiteral("Travel Programs"),
         QStringLiteral("frm_TravelPrograms"), QStringLiteral("[Travel Programs]"), QStringLiteral("[Program ID]"),
         QStringLiteral("[Travel Program]"), QStringLiteral("Please enter a name for this travel program."), 1},
        {Category::Web, QStringLiteral("Web"), QStringLiteral("Web Accounts"), QStringLiteral("frm_WebAccounts"),
         QStringLiteral("[Web Accounts]"), QStringLiteral("[Web Site ID]"), QStringLiteral("[Web Site]"),
         QStringLiteral("Please enter a name for this web site."), 2},
    }};
    return kinds;
}

const CategoryInfo& info(Category kind)
{
    return all()[static_cast<size_t>(kind)];
}

const CategoryInfo* named(const QString& name)
{
    for (const CategoryInfo& kind : all()) {
        if (kind.name == name) {
            return &kind;
        }
    }
    return nullptr;
}

const std::array<Category, 3>& listed()
{
    static const std::array<Category, 3> pages = [] {
        std::array<Category, 3> inOrder{};
        for (const CategoryInfo& kind : all()) {
            if (kind.page >= 0) {
                inOrder[static_cast<size_t>(kind.page)] = kind.kind;
            }
        }
        return inOrder;
    }();
    return pages;
}

std::optional<Category> onPage(int page)
{
    for (const CategoryInfo& kind : all()) {
        if (kind.page >= 0 && kind.page == page) {
            return kind.kind;
        }
    }
    return std::nullopt;
}

} // namespace categories
