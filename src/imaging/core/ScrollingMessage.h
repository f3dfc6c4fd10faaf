#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

namespace kv::imaging {

// A colour stored as the old program stored colours: 0x00BBGGRR.
QColor colourFromStored(int value);

// The settings of a scrolling message and its text.
struct MessageSettings {
    int fontColour = 255;
    int fontHeight = -13;
    QString fontName = QStringLiteral("SYSTEM");
    int fontSize = 0; // 0: not given
    QString fontStyle; // four "1"/"0": bold, italic, underline, strike-out; empty: not given
    int background = 128;
    int speed = 1;
    QString text = QStringLiteral(" Invallid message format ! ");
    QStringList lines; // the vertical message's lines
};

// A horizontal message file: values between the tags "/fc|", "/fh|",
// "/fn|", "/fs|", "/ft|", "/bc|", "/sp|", "/sm|" and the end tag "/eo|".
MessageSettings parseHorizontalMessage(const QString& text);

// A vertical message file: line 0 ignored, then font colour, height, name,
// size, style, background, speed, and the message lines.
MessageSettings parseVerticalMessage(const QStringList& lines);

// A vertical message line as shown: two blanks in front unless it starts
// with one, one blank after unless it ends with one.
QString preparedMessageLine(const QString& line);

// Counts ticks: the message moves on the tick after `speed` skipped ones.
struct MessageTicker {
    int speed = 1;
    int counter = 0;
    bool tick()
    {
        if (++counter > speed) {
            counter = 0;
            return true;
        }
        return false;
    }
};

} // namespace kv::imaging
