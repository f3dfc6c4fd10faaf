#pragma once

#include "quotes/core/CommercialPricing.h"
#include "quotes/core/QuoteRow.h"
#include "quotes/core/WorksheetMode.h"

#include <optional>

namespace kv::quotes {

// What the worksheet keeps while it is open: the quote being worked on, the
// marks that steer its fields and the results the pages work with. Nothing
// of it is stored apart from the quote rows.
struct WorksheetState {
    int series = 1; // WSerie
    int quoteNumber = 0; // WOrcNro
    int subQuote = 0; // WSubOrc
    int baseQuote = 0; // WOrcBase
    int priceDecimals = 2; // PRC_DECIMAIS of the working year
    WorksheetMode mode = WorksheetMode::Settled;
    bool newQuote = true; // the header belongs to a quote not yet stored
    bool quoteOpen = false; // the form may not be closed
    bool headerReset = false; // page-1 fields send the focus back to the series
    bool cancelled = false; // the fields' exit checks are skipped
    bool mayInsert = false; // INSERIR of "Elaboracao de Orcamentos"
    bool mayDelete = false; // ELIMINAR
    std::optional<QuoteRow> row; // the sub-quote row open, as the worksheet holds it
    std::optional<QuoteRow> summary; // the summary row on "Totais"
    CommercialParameters commercial;
    CommercialPricing pricing; // the commercial costs between the percentages and the closing

    // Production page. The boards count only once chosen in this opening of
    // the form: loading a stored row does not set them.
    int boards[3] = {0, 0, 0}; // CARTOLINA, MICROCANAL, PLACA
    int colours = 0; // NROCORES
    int unitsPerSheet = 0; // UNDPLANO
    double sheetFormats[4] = {0, 0, 0, 0}; // length and width of format 1, then of format 2 (cm)
    double sheetArea = 0; // m² of the format being calculated
    int sheetFormatPass = 1;

    // Once the article lookup has been used, a typed article code is checked
    // among the articles that lookup offers, until the worksheet closes.
    bool articleListNarrowed = false;

    double formatArea(int format) const
    {
        const int i = (format - 1) * 2;
        return (sheetFormats[i] / 100.0) * (sheetFormats[i + 1] / 100.0);
    }
};

} // namespace kv::quotes
