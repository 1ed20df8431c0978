// Prints Japan's national holidays of a range of years, one "yyyy-mm-dd<TAB>name" a line.
#include "schedule/Holidays.h"

#include <cstdio>
#include <string>

namespace {

bool parseYear(const char* text, int& year)
{
    try {
        std::size_t used = 0;
        const std::string s(text);
        year = std::stoi(s, &used, 10);
        return used == s.size();
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace

int main(int argc, char** argv)
{
    int from = 0;
    int to = 0;
    if (argc != 3 || !parseYear(argv[1], from) || !parseYear(argv[2], to)) {
        std::fprintf(stderr, "usage: holidays FROM_YEAR TO_YEAR\n");
        return 2;
    }
    if (from < Holidays::kFirstYear || to > Holidays::kLastYear || from > to) {
        std::fprintf(stderr, "holidays: years must lie between %d and %d, the first not after the last\n",
                     Holidays::kFirstYear, Holidays::kLastYear);
        return 2;
    }
    for (int year = from; year <= to; ++year) {
        for (const Holidays::Holiday& h : Holidays::ofYear(year)) {
            const QByteArray line =
                (h.date.toString(QStringLiteral("yyyy-MM-dd")) + u'\t' + h.name + u'\n').toUtf8();
            std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
        }
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
