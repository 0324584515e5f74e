#pragma once
// The GPS track readers of velmoria-import. Each takes the file's bytes (or path) and returns
// the fixes it could read; lines or points it cannot read are skipped and counted, a file cut
// short keeps what came before the cut. They throw TrackError for a file with no times at all
// and for one with fewer than two usable fixes. Called on the import's main thread.
#include <filesystem>
#include <string>
#include <string_view>

#include "track.h"

namespace velmoria::import {

// GPX 1.0 or 1.1: every <trkpt> with lat and lon, its <time>, <ele> and any <speed> element
// (GPX 1.0's own, or a Garmin-style extension), in m/s.
Track readGpx(std::string_view bytes, const std::string& name);

// NMEA 0183: RMC (date, time, position, speed) and GGA (time, position, altitude) sentences of
// any talker ($GP, $GN, $GL ...), checksums checked where present, void fixes skipped. A log
// without RMC has no date: its fixes are times of day on 1970-01-01 (Track::dated false).
Track readNmea(std::string_view bytes, const std::string& name);

// CSV: time,lat,lon[,speed] (speed in m/s), or any columns named by a header line (time or
// timestamp; lat or latitude; lon, lng or longitude; speed, speed_kmh; ele, elevation, alt or
// altitude). Times are ISO 8601 or seconds since 1970.
Track readCsv(std::string_view bytes, const std::string& name);

// Reads a track file, telling the format from its first characters ('<' GPX, '$' NMEA, else
// CSV). Throws TrackError also for a file that cannot be read.
Track readTrackFile(const std::filesystem::path& file);

}  // namespace velmoria::import
