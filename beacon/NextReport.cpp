// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "beacon/NextReport.h"

#include "beacon/Report.h"
#include "common/AirText.h"
#include "common/DateFormat.h"

ComposedReport composeReport(const BeaconObject& object, const ReportMoment& moment) {
    ComposedReport out;
    out.object = object;
    BeaconObject& o = out.object;
    // Only a comment may take more than one byte a character: the name has a fixed width.
    if (moment.utf8)
        o.nameField = asciiName(o.nameField);
    QString comment;
    if (moment.fromFile) {
        if (moment.file.state == CommentFileText::State::Unreadable) {
            out.error = moment.file.error;
            return out;
        }
        const CommentFromFile read =
            applyCommentFile(o, moment.weatherStation, moment.file, moment.nowUtc, moment.nowLocal,
                             moment.dateFormat, moment.utf8, moment.utcWeather);
        comment = o.comment;
        out.fileDateText = read.fileDateText;
        out.currentTimeText = read.currentTimeText;
    } else {
        o.timeStamp = Report::timeStamp(moment.nowUtc);
        // Typed weather readings keep the header of the moment they were set.
        if (!moment.weatherStation)
            o.header = Report::objectHeader(o);
        // A comment restored from a file edited by hand may be longer than the box allows.
        comment = Report::fitComment(moment.typedComment, moment.utf8);
        out.fileDateText = moment.fileDateText;
        out.currentTimeText = formatDateTime(moment.dateFormat, moment.nowLocal);
    }
    out.comment =
        Report::applyCommentMarkers(comment, out.fileDateText, out.currentTimeText, moment.utf8);
    return out;
}
