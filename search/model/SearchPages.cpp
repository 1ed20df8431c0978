#include "search/model/SearchPages.h"

#include "schedule/Pages.h"

namespace {
using DataFileNames::Kind;

// The two enumerations name the same files, in the same order.
constexpr bool sameOrder(SearchPage page, Kind kind)
{
    return int(page) == int(kind);
}
static_assert(sameOrder(SearchPage::ToDo, Kind::ToDo) && sameOrder(SearchPage::Memo, Kind::Memo) &&
              sameOrder(SearchPage::Plan, Kind::Plan) && sameOrder(SearchPage::Diary, Kind::Diary) &&
              sameOrder(SearchPage::Anniv, Kind::Anniv) && sameOrder(SearchPage::Grid, Kind::Month));
} // namespace

DataFileNames::Kind fileKind(SearchPage page)
{
    return Kind(int(page));
}

SearchPage searchPage(DataFileNames::Kind kind)
{
    return SearchPage(int(kind));
}

QString searchPageName(SearchPage page)
{
    const std::optional<int> index = Pages::indexOf(fileKind(page));
    return index ? Pages::at(*index).caption.toString() : QString();
}
