#include "CheckBookFile.h"

#include "Book.h"
#include "BookError.h"
#include "BookFigures.h"
#include "Form4562.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <exception>

namespace fiscora::fuzz {

namespace {

// The folder of the book file, made once per process and removed at its end.
class BookFolder {
public:
    QString BookFile() const { return FFolder.filePath(QStringLiteral("fuzz.fbook")); }

    // The bytes as the book file, alone in the folder: no journal of an earlier input is left to
    // roll back into it.
    bool Write(const QByteArray &bytes) const {
        QDir folder(FFolder.path());
        for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden))
            folder.remove(name);
        QFile file(BookFile());
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }

    QByteArray Read() const {
        QFile file(BookFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    QTemporaryDir FFolder;
};

QString Unexpected(const char *step, const std::exception &error) {
    return QStringLiteral("%1 failed with an error that is not the book's: %2")
        .arg(QLatin1String(step), QString::fromUtf8(error.what()));
}

void ReadEverything(Book &book) {
    const std::vector<DepreciatedAsset> assets = DepreciateBookAssets(book.Assets(), book.YearEndMonth());
    MakeAssetRegister(assets, std::nullopt);
    for (const TaxYearTotal &total : TotalsByTaxYear(assets)) {
        MakeAssetRegister(assets, total.taxYear);
        MakeForm4562(assets, total.taxYear);
    }
}

// An asset that passes the window's checks in a book of any year end.
AssetRecord NewAsset() {
    AssetRecord record;
    record.assetNumber = "fuzz-asset";
    record.description = "Desk";
    record.placedInService = "03/01/2026";
    record.cost = 1000000;
    return record;
}

QString ChangeBook(Book &book) {
    const std::int64_t id = book.AddAsset(NewAsset());
    const std::optional<AssetRecord> stored = book.FindAsset(id);
    if (!stored || stored->assetNumber != NewAsset().assetNumber)
        return QStringLiteral("an asset added to the book is not found in it");
    book.RemoveAsset(id, stored->rowVersion);
    if (book.FindAsset(id))
        return QStringLiteral("an asset removed from the book is still in it");
    return {};
}

} // namespace

QString CheckBookFile(const QByteArray &input) {
    static const BookFolder folder;
    if (!folder.Write(input))
        return QStringLiteral("cannot write the book file for the check");
    const std::string path = folder.BookFile().toStdString();
    try {
        const std::unique_ptr<Book> book = Book::Open(path, BookAccess::Read);
        ReadEverything(*book);
    } catch (const EBookError &) {
        // A damaged or foreign book is refused with a message.
    } catch (const std::exception &error) {
        return Unexpected("reading the book", error);
    }
    if (folder.Read() != input)
        return QStringLiteral("reading the book, or refusing it, changed its file");
    std::unique_ptr<Book> book;
    try {
        book = Book::Open(path, BookAccess::Write);
    } catch (const EBookError &) {
        if (folder.Read() != input)
            return QStringLiteral("refusing to open the book for a change changed its file");
        return {};
    } catch (const std::exception &error) {
        return Unexpected("opening the book for a change", error);
    }
    try {
        return ChangeBook(*book);
    } catch (const EBookError &) {
        return {};
    } catch (const std::exception &error) {
        return Unexpected("changing the book", error);
    }
}

} // namespace fiscora::fuzz
