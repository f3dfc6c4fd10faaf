#include "platform/db/DbTestFixture.h"

#include <QCoreApplication>

namespace kv::db::test {

void EngineTest::SetUp()
{
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "kv_db_tests";
        static char* argv[] = {name, nullptr};
        new QCoreApplication(argc, argv); // lives for the whole test binary
    }
    KV_SKIP_WITHOUT(GetParam());
    m_db = std::make_unique<kv::test::ScratchDatabase>(GetParam(), QStringLiteral("teste"));
    db = connect();
}

void EngineTest::TearDown()
{
    db.reset();
    m_db.reset();
}

} // namespace kv::db::test
