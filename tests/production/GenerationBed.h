#pragma once

#include "platform/db/TwoDatabaseWork.h"
#include "platform/notify/MessageSink.h"
#include "production/core/OrderGeneration.h"
#include "support/Scenario.h"

#include <QDate>
#include <QStringList>
#include <memory>

namespace kv::production::test {

class GenMessages : public kv::notify::MessageSink {
public:
    void beep() override {}
    void error(const QString& text) override { texts << text; }
    void information(const QString& text) override { texts << text; }
    QStringList texts;
};

// Puts into a company the customer, calendar, cost tables and quotes below.
void seedGeneration(kv::db::Connection& application, kv::db::Connection& invoicing);
// A customer-order line of order `order`, line `detail`, year 2024, week "10".
void addGenerationLine(kv::db::Connection& invoicing, int order, int detail, double quantity, const QDate& delivery,
                       int quote = 8001, const QString& article = QStringLiteral("ART-GER"), int customer = 701);

// A company with one customer (701), the calendar of the weeks used, a
// quote 8001 of two sub-quotes (the accessory at half the base quantity),
// each with a board and a printing line, and the customer-order lines a
// test adds. Quote 8002 is another quote for another article.
class GenerationBed {
public:
    explicit GenerationBed(kv::test::Engine engine);

    kv::db::Connection& application() { return *m_application; }
    kv::db::Connection& invoicing() { return *m_invoicing; }
    kv::test::Scenario& scenario() { return m_scenario; }

    // A customer-order line of order `order`, line `detail`, year 2024, week "10".
    void addLine(int order, int detail, double quantity, const QDate& delivery, int quote = 8001,
                 const QString& article = QStringLiteral("ART-GER"), int customer = 701);
    // The generation of one user; model "T" when asked.
    std::unique_ptr<OrderGeneration> generation(const QString& user = QStringLiteral("ANA"), bool modelT = false);
    // Builds the user's work list from every open line, as "&Iniciar" does.
    int buildWorkList(OrderGeneration& generation);
    // Ticks OFNRO`slot` alone for the user's row of that line.
    void routeTo(const QString& user, int order, int detail, int slot);

    int scalar(kv::db::Connection& db, const QString& sql);
    GenMessages messages;

private:
    kv::test::Scenario m_scenario;
    std::shared_ptr<kv::db::Connection> m_application;
    std::shared_ptr<kv::db::Connection> m_invoicing;
    kv::db::TwoDatabaseKinds m_kinds;
    std::unique_ptr<kv::db::TwoDatabaseWork> m_work;
};

} // namespace kv::production::test
