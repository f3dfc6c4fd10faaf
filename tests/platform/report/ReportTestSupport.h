#pragma once

#include "platform/report/Document.h"
#include "platform/report/MemoryRowSource.h"
#include "platform/report/Report.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QString>
#include <QStringList>
#include <memory>
#include <ostream>

namespace kv::report::test {

// The application the report tests paint with, offscreen.
QApplication& application();

// Every report test paints, so it needs the application first.
class ReportTest : public ::testing::Test {
protected:
    void SetUp() override { application(); }
};

// Rows of an ink table: CODIGO, ARTIGO, DESIGNACAO, GRAMAGEM, PRECO.
std::unique_ptr<MemoryRowSource> inkRows(int count);

// The list report of a costing table over `rows`: A4 portrait, margins 7 mm
// left and right and 10 mm top and bottom, title, page header, column
// header, detail and page footer with the page number.
void buildListReport(Report& report, RowSource& rows);

// Every text item of a page, top to bottom.
QStringList pageTexts(const RenderedPage& page);
// The bands of a page, by kind name or band name.
QStringList bandNames(const RenderedPage& page);
int countBands(const RenderedPage& page, BandKind kind);

// Runs a program and gives its standard output; empty when it fails.
QByteArray runProgram(const QString& program, const QStringList& arguments);

} // namespace kv::report::test

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
