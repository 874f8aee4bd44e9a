#include "print/HeadlessPage.h"

#include "app/Settings.h"
#include "data/Connection.h"
#include "data/DataError.h"
#include "map/BackgroundMaps.h"
#include "metafile/MetafilePicture.h"
#include "print/OTprint.h"

#include <QSet>

namespace ortolan::print {

HeadlessPage::HeadlessPage(const HeadlessPageStyle &style)
    : m_engine(std::make_unique<OTprint>())
{
    // Only the picture's proportions matter here: the page draws the file
    // itself. MetafilePicture::load keeps the decoded picture for the next page.
    QString error;
    const metafile::MetafilePicture picture =
        metafile::MetafilePicture::load(map::backgrounds::path(style.backgroundName), &error);
    if (picture.isNull()) {
        m_problems << settings().messages.MsgMissingFile + style.backgroundName;
        return;
    }
    // The world has the picture's proportions, as the map fitted into its frame.
    const QRectF natural = picture.naturalRect();
    m_geometry = std::make_unique<map::ZoneGeometry>(1100.0, 1100.0 * natural.height() / natural.width());
    if (!m_geometry->isValid()) {
        m_problems << QStringLiteral("the background picture has no extent: ") + style.backgroundName;
        return;
    }
    m_input.setMap(QSizeF(m_geometry->width(), m_geometry->height()), *m_geometry, m_records);
    const QString mode = style.blackWhite ? QStringLiteral("BW") : QStringLiteral("Colori");
    m_input.backgroundPath = map::backgrounds::printPath(style.backgroundName, mode);
    m_input.blackWhite = style.blackWhite;
    m_input.grid = style.grid;
    m_input.forPrint = style.forPrint;
    m_engine->setMessageHandler([this](const OTprint::Message &m) {
        if (m_messages)
            *m_messages << m.text;
    });
    m_ready = true;
}

HeadlessPage::~HeadlessPage() = default;

QByteArray HeadlessPage::lastPage() const { return m_engine->lastMetafile(); }

HeadlessPageResult HeadlessPage::write(data::Connection &db, const QString &taxonCode, const QString &caption,
                                       const QString &target)
{
    HeadlessPageResult result;
    if (!m_ready) {
        result.messages = m_problems;
        return result;
    }
    try {
        m_records.load(db, taxonCode);
    } catch (const data::DataError &error) {
        result.messages << settings().messages.MsgDataError + error.description();
        return result;
    }
    result.messages << m_records.locate(*m_geometry);

    m_input.squareCentres.clear();
    QSet<QString> squares;
    for (const map::RecordsLayer::Square &square : m_records.squares()) {
        m_input.squareCentres.push_back(square.centre);
        if (square.centre.y() != 0.0) {
            ++result.squaresOnPage;
            squares.insert(square.squareCode.toUpper());
        }
    }
    result.distinctSquares = int(squares.size());
    m_input.caption = caption;
    m_input.target = target;

    m_messages = &result.messages;
    const OTprintResult written = MapPage::writeMapPage(m_input, *m_engine);
    m_messages = nullptr;
    if (!written) {
        result.messages << written.text();
        result.squaresOnPage = result.distinctSquares = 0;
        return result;
    }
    result.ok = true;
    return result;
}

HeadlessPageResult writeTaxonPage(const HeadlessPageRequest &request)
{
    HeadlessPage page({request.backgroundName, request.blackWhite, request.grid, request.forPrint});
    if (!page.isReady()) {
        HeadlessPageResult result;
        result.messages = page.problems();
        return result;
    }
    std::unique_ptr<data::Connection> db;
    try {
        db = data::Connection::openPrivate();
    } catch (const data::DataError &error) {
        HeadlessPageResult result;
        result.messages << settings().messages.MsgDataError + error.description();
        return result;
    }
    return page.write(*db, request.taxonCode, request.caption, request.target);
}

}  // namespace ortolan::print
