// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "common/LinkSettings.h"

namespace {

struct Named {
    LinkType type;
    const char* name;
};
constexpr Named kNames[] = {{LinkType::Agwpe, "AGWPE"},
                            {LinkType::Kiss, "KISS"},
                            {LinkType::Tnc, "TNC"},
                            {LinkType::KissTcp, "KISS TCP"},
                            {LinkType::AprsIs, "APRS-IS"}};

} // namespace

QString LinkSettings::typeName(LinkType type) {
    for (const Named& n : kNames)
        if (n.type == type)
            return QLatin1String(n.name);
    return {};
}

std::optional<LinkType> LinkSettings::typeNamed(const QString& name) {
    // Compared as written: a name from the file is ASCII, and case folding would depend on the
    // desktop language (a Turkish "kıss").
    for (const Named& n : kNames)
        if (name.trimmed() == QLatin1String(n.name))
            return n.type;
    return std::nullopt;
}
