#pragma once

#include "quotes/core/ArticleClassification.h"
#include "quotes/core/QuoteConsultation.h"
#include "quotes/forms/QuoteFormsEnvironment.h"

#include "platform/ui/RangeLimitsBlock.h"

#include <QDate>
#include <QMap>
#include <QString>
#include <QVariant>
#include <memory>

class QDialog;
class QGridLayout;
class QLabel;
class QObject;
class QTimer;

namespace kv::db {
class Dataset;
}

namespace kv::quotes {

// The steps the quote viewers (consultation, approval list) take alike:
// the summary list they browse, the rights and readings of their
// activation, and the selection read from their limit fields.
class QuoteViewerSteps {
public:
    // The summary rows ("ORCMAS"), read only, on the application database.
    static std::unique_ptr<kv::db::Dataset> summaryList(const QuoteFormsEnvironment& environment);
    // A timer owned by `owner` that fires once the list's cursor rests after
    // a move or a reopening, so that a run of moves reads the row once.
    static QTimer* restTimer(kv::db::Dataset& list, QObject* owner);

    // The user's rights on "Consulta de Orcamentos"; false when they close
    // the form, which is then already told to close.
    static bool mayActivate(const QuoteFormsEnvironment& environment, QDialog& form);
    // Says why, and closes the form once its activation has returned.
    static void closeAtActivation(QDialog& form, const QString& message);

    // The article classification; a failed read of its groups is said and
    // the viewer goes on without them (`groupsRead` false).
    static std::unique_ptr<ArticleClassification> readClassification(const QuoteFormsEnvironment& environment,
                                                                     bool& groupsRead);

    // The working date, today when there is no login.
    static QDate workingDate(const QuoteFormsEnvironment& environment);
    // The date pair "Edit_Data1"/"Edit_Data2" with its mask and calendar.
    static kv::ui::LimitFields dateFields(const QString& caption);
    // The ranges of the limit fields into `selection`; the article limits are
    // the fields' texts as they stand now.
    static void readLimits(const kv::ui::RangeLimitsBlock& limits, ConsultationSelection& selection);

    // A sunken value label about `characters` wide, kept in `labels` by name.
    static QLabel* valueLabel(const QString& name, int characters, QMap<QString, QLabel*>& labels);
    // A line of the information page: the caption, then its value labels.
    static void addValueLine(QGridLayout& grid, int row, const char* caption,
                             std::initializer_list<std::pair<const char*, int>> values, QMap<QString, QLabel*>& labels);

    // A number as the viewers show it: empty when null, else plain.
    static QString plainNumber(const QVariant& value);
};

} // namespace kv::quotes
