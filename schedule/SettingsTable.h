#pragma once

#include "platform/IniStore.h"

#include <QString>

#include <span>
#include <variant>

// A settings object's keys of "QuavScheduler.ini" as one table: section, key, kind (the type of
// the field it names) and order. The order of the rows is the order of reading and writing; the
// defaults are the object's own initial values, which a missing or unreadable key leaves as they
// are.
namespace SettingsTable {

using Field = std::variant<int*, bool*, QString*, quint32*>;

template <typename S> struct Row {
    QString section;
    QString key; // with `count`: the stem of key0, key1, ...
    Field (*field)(S& settings, int index);
    int index = 0; // handed to `field`: which of a list of entries the key names
    // Set: the row stands for as many numbered keys as the object holds now, `field` taking
    // each number as its index.
    int (*count)(const S& settings) = nullptr;
    // Top and Left: written only where the window system tells a window's place.
    bool position = false;
};

namespace detail {
// Calls `each(section, key, field)` for every key of the rows, in their order; position rows
// only where `withPosition`.
template <typename S, typename Each>
void forEachField(std::span<const Row<S>> rows, S& settings, bool withPosition, Each each)
{
    for (const Row<S>& row : rows) {
        if (row.position && !withPosition)
            continue;
        if (!row.count) {
            each(row.section, row.key, row.field(settings, row.index));
            continue;
        }
        const int n = row.count(settings);
        for (int i = 0; i < n; ++i)
            each(row.section, row.key + QString::number(i), row.field(settings, i));
    }
}
} // namespace detail

template <typename S> void read(std::span<const Row<S>> rows, S& settings, const IniStore& ini)
{
    detail::forEachField(rows, settings, true, [&](const QString& section, const QString& key, Field field) {
        std::visit(
            [&](auto* value) {
                using T = std::remove_pointer_t<decltype(value)>;
                if constexpr (std::is_same_v<T, bool>)
                    *value = ini.getBool(section, key, *value);
                else if constexpr (std::is_same_v<T, QString>)
                    *value = ini.get(section, key, *value);
                else
                    *value = T(ini.getInt(section, key, int(*value)));
            },
            field);
    });
}

template <typename S>
void write(std::span<const Row<S>> rows, const S& settings, IniStore& ini, bool positionKnown)
{
    // The fields are only read here; the rows hand out one kind of pointer for both directions.
    S& source = const_cast<S&>(settings);
    detail::forEachField(rows, source, positionKnown,
                         [&](const QString& section, const QString& key, Field field) {
                             std::visit(
                                 [&](auto* value) {
                                     using T = std::remove_pointer_t<decltype(value)>;
                                     if constexpr (std::is_same_v<T, bool>)
                                         ini.putBool(section, key, *value);
                                     else if constexpr (std::is_same_v<T, QString>)
                                         ini.put(section, key, *value);
                                     else
                                         ini.putInt(section, key, int(*value));
                                 },
                                 field);
                         });
}

} // namespace SettingsTable
