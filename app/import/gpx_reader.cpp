// GPX through QXmlStreamReader: only the track points and the few elements they carry.
#include <QString>
#include <QXmlStreamReader>
#include <cmath>
#include <limits>

#include "iso_time.h"
#include "track_readers.h"

namespace velmoria::import {

namespace {

std::optional<double> number(const QString& text) {
  bool ok = false;
  const double v = text.trimmed().toDouble(&ok);
  return ok ? std::optional<double>(v) : std::nullopt;
}

}  // namespace

Track readGpx(std::string_view bytes, const std::string& name) {
  Track track;
  QXmlStreamReader xml(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
  int points = 0, timed = 0;
  std::optional<TrackPoint> point;  // the <trkpt> being read
  bool pointUsable = false;
  while (!xml.atEnd()) {
    const auto token = xml.readNext();
    if (token == QXmlStreamReader::StartElement) {
      const auto tag = xml.name();
      if (tag == u"trkpt") {
        ++points;
        point.emplace();
        const auto lat = number(xml.attributes().value("lat").toString());
        const auto lon = number(xml.attributes().value("lon").toString());
        pointUsable = lat && lon;
        if (pointUsable) point->lat = *lat, point->lon = *lon;
        point->time = std::numeric_limits<double>::quiet_NaN();
      } else if (point && tag == u"time") {
        const QString text = xml.readElementText();
        if (auto t = parseIsoTime(text.toStdString())) {
          point->time = *t;
          ++timed;
        }
      } else if (point && tag == u"ele") {
        point->elevation = number(xml.readElementText());
      } else if (point && tag == u"speed") {
        point->speed = number(xml.readElementText());
      }
    } else if (token == QXmlStreamReader::EndElement && xml.name() == u"trkpt" && point) {
      if (pointUsable && !std::isnan(point->time))
        track.points.push_back(*point);
      else
        ++track.skipped;
      point.reset();
    }
  }
  if (xml.hasError() && xml.error() != QXmlStreamReader::PrematureEndOfDocumentError)
    track.warning = "the XML is broken at line " + std::to_string(xml.lineNumber()) + " (" +
                    xml.errorString().toStdString() + "); the points before it are used";
  else if (xml.hasError())
    track.warning = "the file ends early; the points before the end are used";
  if (points == 0) throw TrackError(name + ": no track points (<trkpt>) in the GPX file");
  if (timed == 0) throw TrackError(name + ": the track points have no times (<time>)");
  finishTrack(track, name);
  return track;
}

}  // namespace velmoria::import
