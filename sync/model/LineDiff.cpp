#include "sync/model/LineDiff.h"

#include <QHash>

#include <algorithm>

namespace LineDiff {

namespace {

// Beyond this many differences the trace would cost more memory than a page is worth.
constexpr qsizetype kMaxEdits = 4000;

struct Edit {
    Side side;
    qsizetype first;
    qsizetype second;
};

// The edits between a and b, last first, as steps of Myers' greedy search.
std::vector<Edit> shortestScript(const std::vector<int>& a, const std::vector<int>& b, bool* found)
{
    const qsizetype n = qsizetype(a.size());
    const qsizetype m = qsizetype(b.size());
    const qsizetype max = std::min(n + m, kMaxEdits);
    std::vector<qsizetype> v(size_t(2 * max + 3), 0);
    const qsizetype offset = max + 1;
    std::vector<std::vector<qsizetype>> trace; // trace[d][k + d]: the furthest x on diagonal k
    qsizetype end = -1;
    for (qsizetype d = 0; d <= max && end < 0; ++d) {
        for (qsizetype k = -d; k <= d; k += 2) {
            qsizetype x = 0;
            if (d == 0)
                x = 0;
            else if (k == -d || (k != d && v[size_t(offset + k - 1)] < v[size_t(offset + k + 1)]))
                x = v[size_t(offset + k + 1)];
            else
                x = v[size_t(offset + k - 1)] + 1;
            qsizetype y = x - k;
            while (x < n && y < m && a[size_t(x)] == b[size_t(y)]) {
                ++x;
                ++y;
            }
            v[size_t(offset + k)] = x;
            if (x >= n && y >= m)
                end = d;
        }
        trace.emplace_back(v.begin() + (offset - d), v.begin() + (offset + d + 1));
    }
    *found = end >= 0;
    std::vector<Edit> edits;
    if (!*found)
        return edits;
    qsizetype x = n;
    qsizetype y = m;
    for (qsizetype d = end; d > 0; --d) {
        const std::vector<qsizetype>& prev = trace[size_t(d - 1)];
        const auto at = [&](qsizetype k) { return prev[size_t(k + d - 1)]; };
        const qsizetype k = x - y;
        const qsizetype prevK = (k == -d || (k != d && at(k - 1) < at(k + 1))) ? k + 1 : k - 1;
        const qsizetype prevX = at(prevK);
        const qsizetype prevY = prevX - prevK;
        while (x > prevX && y > prevY) {
            --x;
            --y;
            edits.push_back({Side::Both, x, y});
        }
        if (x == prevX)
            edits.push_back({Side::Second, -1, prevY});
        else
            edits.push_back({Side::First, prevX, -1});
        x = prevX;
        y = prevY;
    }
    while (x > 0 && y > 0) {
        --x;
        --y;
        edits.push_back({Side::Both, x, y});
    }
    return edits;
}

} // namespace

QStringList splitLines(QStringView text)
{
    QStringList lines;
    qsizetype from = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(from, i - from).toString());
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        from = i + 1;
    }
    if (from < text.size())
        lines.append(text.mid(from).toString());
    return lines;
}

bool endsWithBreak(QStringView text)
{
    return text.endsWith(u'\n') || text.endsWith(u'\r');
}

std::vector<Line> compare(const QStringList& first, const QStringList& second)
{
    const qsizetype n = first.size();
    const qsizetype m = second.size();
    qsizetype head = 0;
    while (head < n && head < m && first[head] == second[head])
        ++head;
    qsizetype tail = 0;
    while (tail < n - head && tail < m - head && first[n - 1 - tail] == second[m - 1 - tail])
        ++tail;

    // Lines as numbers, so the search compares integers.
    QHash<QString, int> ids;
    const auto idsOf = [&](const QStringList& lines, qsizetype count) {
        std::vector<int> out;
        out.reserve(size_t(count));
        for (qsizetype i = head; i < head + count; ++i) {
            auto it = ids.constFind(lines[i]);
            if (it == ids.cend())
                it = ids.insert(lines[i], int(ids.size()));
            out.push_back(*it);
        }
        return out;
    };
    const std::vector<int> a = idsOf(first, n - head - tail);
    const std::vector<int> b = idsOf(second, m - head - tail);
    bool found = false;
    std::vector<Edit> middle = shortestScript(a, b, &found);
    if (!found) {
        for (qsizetype j = qsizetype(b.size()) - 1; j >= 0; --j)
            middle.push_back({Side::Second, -1, j});
        for (qsizetype i = qsizetype(a.size()) - 1; i >= 0; --i)
            middle.push_back({Side::First, i, -1});
    }

    std::vector<Line> out;
    out.reserve(size_t(head + tail) + middle.size());
    for (qsizetype i = 0; i < head; ++i)
        out.push_back({Side::Both, first[i], i, i});
    for (auto e = middle.rbegin(); e != middle.rend(); ++e) {
        const qsizetype i = e->first < 0 ? -1 : e->first + head;
        const qsizetype j = e->second < 0 ? -1 : e->second + head;
        out.push_back({e->side, e->side == Side::Second ? second[j] : first[i], i, j});
    }
    for (qsizetype t = tail; t > 0; --t)
        out.push_back({Side::Both, first[n - t], n - t, m - t});
    return out;
}

} // namespace LineDiff
