// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "beacon/NextReport.h"

#include "beacon/Report.h"
#include "common/DateFormat.h"

ComposedReport composeReport(const BeaconObject& object, const ReportMoment& moment) {
    ComposedReport out;
    out.object = object;
    BeaconObject& o = out.object;
    QString comment;
    if (moment.fromFile) {
        if (moment.file.state == CommentFileText::State::Unreadable) {
            out.error = moment.file.error;
            return out;
        }
        const CommentFromFile read =
            applyCommentFile(o, moment.weatherStation, moment.file, moment.nowUtc, moment.nowLocal,
                             moment.dateFormat);
        comment = o.comment;
        out.fileDateText = read.fileDateText;
        out.currentTimeText = read.currentTimeText;
    } else {
        o.timeStamp = Report::timeStamp(moment.nowUtc);
        // Typed weather readings keep the header of the moment they were set.
        if (!moment.weatherStation)
            o.header = Report::objectHeader(o);
        comment = moment.typedComment;
        out.fileDateText = moment.fileDateText;
        out.currentTimeText = formatDateTime(moment.dateFormat, moment.nowLocal);
    }
    out.comment = Report::applyCommentMarkers(comment, out.fileDateText, out.currentTimeText);
    return out;
}
