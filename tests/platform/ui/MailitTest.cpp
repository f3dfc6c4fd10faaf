// The mail label: the "mailto:" link it opens, encoded so that what was
// typed reaches the mail program intact, and its caption and colours.
#include "support/Scenario.h"
#include "platform/ui/TMailit.h"

#include <QDesktopServices>
#include <QTest>
#include <QUrlQuery>

#include <gtest/gtest.h>

using kv::test::Scenario;
using kv::ui::TMailit;

namespace {

struct MailCase {
    const char* name;
    const char* to;
    const char* subject;
    const char* cc;
    const char* bcc;
    const char* link; // as the desktop receives it
};
void PrintTo(const MailCase& c, std::ostream* os) { *os << c.name; }

class MailLink : public ::testing::TestWithParam<MailCase> {};

TEST_P(MailLink, PartsArriveIntact)
{
    const MailCase& c = GetParam();
    TMailit mail;
    mail.SetMailTo(QString::fromUtf8(c.to));
    mail.SetMailSubject(QString::fromUtf8(c.subject));
    mail.SetMailCC(QString::fromUtf8(c.cc));
    mail.SetMailBCC(QString::fromUtf8(c.bcc));
    const QUrl url = mail.mailUrl();
    EXPECT_EQ(url.toEncoded(), QByteArray(c.link));
    EXPECT_EQ(url.scheme(), "mailto");
    EXPECT_EQ(url.path(QUrl::FullyDecoded), QString::fromUtf8(c.to));
    const QUrlQuery query(url);
    EXPECT_EQ(query.queryItemValue("Subject", QUrl::FullyDecoded), QString::fromUtf8(c.subject));
    EXPECT_EQ(query.queryItemValue("cc", QUrl::FullyDecoded), QString::fromUtf8(c.cc));
    EXPECT_EQ(query.queryItemValue("bcc", QUrl::FullyDecoded), QString::fromUtf8(c.bcc));
}

INSTANTIATE_TEST_SUITE_P(
    Links, MailLink,
    ::testing::Values(MailCase{"AddressOnlyKeepsEmptyKeys", "compras@empresa.pt", "", "", "",
                               "mailto:compras@empresa.pt?Subject=&cc=&bcc="},
                      MailCase{"EmptyAddress", "", "", "", "", "mailto:?Subject=&cc=&bcc="},
                      MailCase{"BlanksAndAmpersandInSubject", "vendas@empresa.pt", "Orçamento 12 & 13", "", "",
                               "mailto:vendas@empresa.pt?Subject=Or%C3%A7amento%2012%20%26%2013&cc=&bcc="},
                      MailCase{"QuestionMarkAndEqualsStayInTheirPart", "a@b.pt", "Preço=10? sim", "c@d.pt", "e@f.pt",
                               "mailto:a@b.pt?Subject=Pre%C3%A7o%3D10%3F%20sim&cc=c@d.pt&bcc=e@f.pt"},
                      MailCase{"AddressWithBlankAndAmpersand", "joão silva&filhos@empresa.pt", "", "x@y.pt,z@w.pt", "",
                               "mailto:jo%C3%A3o%20silva%26filhos@empresa.pt?Subject=&cc=x@y.pt,z@w.pt&bcc="}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

// Stands in for the desktop's mail program.
class MailProgram : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public Q_SLOTS:
    void open(const QUrl& url) { opened << url; }
};

TEST(Mailit, ClickOpensTheMailProgramThenFiresClick)
{
    Scenario scenario;
    MailProgram program;
    QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &program, "open");
    auto* mail = new TMailit;
    mail->setObjectName(QStringLiteral("MailComercial"));
    mail->SetMailTo(QStringLiteral("comercial@empresa.pt"));
    mail->SetMailSubject(QStringLiteral("Encomenda & entrega"));
    int clicks = 0;
    QObject::connect(mail, &TMailit::clicked, [&] {
        ++clicks;
        EXPECT_EQ(program.opened.size(), 1) << "the mail program opens before the click event";
    });
    auto driver = scenario.show(mail);
    driver.click(QStringLiteral("MailComercial"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
    ASSERT_EQ(program.opened.size(), 1);
    EXPECT_EQ(QUrlQuery(program.opened[0]).queryItemValue("Subject", QUrl::FullyDecoded), "Encomenda & entrega");
    EXPECT_EQ(clicks, 1);
}

TEST(Mailit, AddressIsTheCaptionAndTheNameStandsInWhileEmpty)
{
    TMailit mail;
    mail.setObjectName(QStringLiteral("Mailit1"));
    EXPECT_EQ(mail.MailTo(), "Mailit1");
    mail.SetMailTo(QStringLiteral("geral@empresa.pt"));
    EXPECT_EQ(mail.text(), "geral@empresa.pt");
    EXPECT_EQ(mail.MailTo(), "geral@empresa.pt");
    mail.SetMailTo(QString());
    EXPECT_EQ(mail.text(), "");
    EXPECT_EQ(mail.mailUrl().toEncoded(), "mailto:?Subject=&cc=&bcc=");
}

TEST(Mailit, ColourFollowsThePointerAndHintAndCursorAreSet)
{
    Scenario scenario;
    auto* mail = new TMailit;
    mail->SetMailTo(QStringLiteral("geral@empresa.pt"));
    mail->SetColorEnter(Qt::red);
    mail->SetColorLeave(Qt::darkBlue);
    mail->SetMailHint(QStringLiteral("Enviar mensagem"));
    mail->SetMailCursor(true);
    scenario.show(mail);
    QEvent away(QEvent::Leave);
    QApplication::sendEvent(mail, &away);
    EXPECT_EQ(mail->palette().color(QPalette::WindowText), QColor(Qt::darkBlue));
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), mail->mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(mail, &enter);
    EXPECT_EQ(mail->palette().color(QPalette::WindowText), QColor(Qt::red));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(mail, &leave);
    EXPECT_EQ(mail->palette().color(QPalette::WindowText), QColor(Qt::darkBlue));
    EXPECT_EQ(mail->toolTip(), "Enviar mensagem");
    EXPECT_EQ(mail->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(mail->font().family(), "Arial");
}

} // namespace

#include "MailitTest.moc"
