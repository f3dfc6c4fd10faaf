#pragma once

#include "platform/db/Connection.h"
#include "platform/report/Export.h"

#include <QProcess>

// The supplier purchase-order lines belong to the purchasing tables; a
// company whose schema lacks them gets the columns the stock maps read,
// under the text collation as the schema gives every text column.
inline void ensureSupplierOrderLines(kv::db::Connection& invoicing)
{
    if (!invoicing.tableExists(QStringLiteral("FRNENCDET")))
        invoicing.exec(QStringLiteral("CREATE TABLE FRNENCDET (ENCNRO INTEGER NOT NULL, DETAIL INTEGER NOT NULL, "
                                      "DATAENTRG TIMESTAMP, ARTIGO VARCHAR(16) COLLATE pt_ci, QTDCAR DOUBLE PRECISION, "
                                      "TOTENT VARCHAR(1), PRIMARY KEY (ENCNRO, DETAIL))"));
}

// A map's report as its PDF reads, page by page in layout.
inline QString stockMapPdfText(const kv::report::Document& document, const QString& path)
{
    kv::report::exportDocument(document, kv::report::ExportFormat::Pdf, path);
    QProcess pdf;
    pdf.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    pdf.waitForFinished();
    return QString::fromUtf8(pdf.readAllStandardOutput());
}
