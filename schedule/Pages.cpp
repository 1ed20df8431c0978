#include "schedule/Pages.h"

#include "schedule/DayTexts.h"

namespace Pages {

namespace {

using DataFileNames::Kind;

constexpr std::array<Page, kCount> kPages{{
    {0, u"ToDo", u"Memo2", Kind::ToDo, false, 2, LabelDate::None},
    {1, u"メモ", u"Memo3", Kind::Memo, false, 3, LabelDate::None},
    {2, u"予定", u"Memo1", Kind::Plan, true, 1, LabelDate::Day},
    {3, u"日誌", u"Memo7", Kind::Diary, true, 0, LabelDate::Day},
    {4, u"記念日", u"Memo4", Kind::Anniv, true, 4, LabelDate::MonthDay},
}};

constexpr bool consistent()
{
    std::array<bool, kCount> placed{};
    for (int i = 0; i < kCount; ++i) {
        const Page& p = kPages[size_t(i)];
        if (p.tab != i || p.order < 0 || p.order >= kCount || placed[size_t(p.order)])
            return false;
        placed[size_t(p.order)] = true;
        if (p.dated != (p.labelDate != LabelDate::None))
            return false;
    }
    return true;
}
static_assert(consistent(), "every page sits at its tab index and has a place of its own in the order");

constexpr std::array<int, kCount> orderOf()
{
    std::array<int, kCount> order{};
    for (const Page& p : kPages)
        order[size_t(p.order)] = p.tab;
    return order;
}

constexpr std::array<int, kCount> kFileOrder = orderOf();

} // namespace

const std::array<Page, kCount>& all()
{
    return kPages;
}

const Page& at(int index)
{
    return kPages[size_t(index)];
}

const std::array<int, kCount>& fileOrder()
{
    return kFileOrder;
}

std::optional<int> indexOf(DataFileNames::Kind kind)
{
    for (const Page& p : kPages)
        if (p.kind == kind)
            return p.tab;
    return std::nullopt;
}

QString fileName(int index, QDate date)
{
    return DataFileNames::of(at(index).kind, date);
}

QString label(int index, QDate date)
{
    const Page& p = at(index);
    const QString name = p.caption.toString();
    switch (p.labelDate) {
    case LabelDate::None:
        break;
    case LabelDate::Day:
        return DayTexts::statusDate(date) + u'の' + name;
    case LabelDate::MonthDay:
        return date.toString(QStringLiteral("MM月dd日")) + u'の' + name;
    }
    return name;
}

} // namespace Pages
