#include "cli/table/sun_options.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <string>

#include "cli/args/tool_errors.h"
#include "common/out_text.h"
#include "engine/sun_path.h"

namespace orvalin {
namespace {

std::optional<double> Number(std::string_view text) {
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() ||
      !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

double ReadHorizon(const CommandLine& cl) {
  const auto text = cl.Value("--horizon");
  if (!text) return kHorizonAltitude;
  if (*text == kStandardHorizonName) return kStandardHorizon;
  const auto degrees = Number(*text);
  if (!degrees || std::fabs(*degrees) > kHighestHorizon) {
    throw BadUsage("--horizon \"" + *text + "\": expected degrees from " +
                   ShortestDecimal(-kHighestHorizon) + " to " + ShortestDecimal(kHighestHorizon) +
                   ", e.g. -1.5, or " + std::string(kStandardHorizonName) + " (" +
                   ShortestDecimal(kStandardHorizon) + ")");
  }
  return *degrees;
}

double ReadObserverHeight(const CommandLine& cl) {
  const auto text = cl.Value("--elevation");
  if (!text) return 0;
  const auto metres = Number(*text);
  if (!metres || *metres < 0 || *metres > kHighestObserver) {
    throw BadUsage("--elevation \"" + *text + "\": expected metres from 0 to " +
                   ShortestDecimal(kHighestObserver) + ", e.g. 450");
  }
  return *metres;
}

// "HH:MM" or "HH:MM:SS", 00:00 to 23:59:59, as hours.
std::optional<double> ReadAt(const CommandLine& cl) {
  const auto text = cl.Value("--at");
  if (!text) return std::nullopt;
  int parts[3] = {0, 0, 0};
  int count = 0;
  const char* p = text->data();
  const char* const end = p + text->size();
  while (count < 3 && end - p >= 2 && std::isdigit(static_cast<unsigned char>(p[0])) != 0 &&
         std::isdigit(static_cast<unsigned char>(p[1])) != 0) {
    const auto [next, ec] = std::from_chars(p, end, parts[count]);
    if (ec != std::errc() || next - p != 2) break;
    ++count;
    p = next;
    if (p == end || *p != ':') break;
    ++p;
  }
  if (count < 2 || p != end || parts[0] > 23 || parts[1] > 59 || parts[2] > 59) {
    throw BadUsage("--at \"" + *text + "\": expected a time of day HH:MM or HH:MM:SS, e.g. 15:00");
  }
  return parts[0] + parts[1] / 60.0 + parts[2] / 3600.0;
}

// "--golden-hour" alone, or "--golden-hour=LOW,HIGH" in degrees.
std::optional<AltitudeBand> ReadBand(const CommandLine& cl, const char* option,
                                     AltitudeBand usual) {
  const auto text = cl.Value(option);
  if (!text) return std::nullopt;
  if (text->empty()) return usual;
  const auto comma = text->find(',');
  const auto low = Number(std::string_view(*text).substr(0, comma));
  const auto high =
      comma == std::string::npos ? std::nullopt : Number(std::string_view(*text).substr(comma + 1));
  if (!low || !high || *low >= *high || std::fabs(*low) > kHighestHorizon ||
      std::fabs(*high) > kHighestHorizon) {
    throw BadUsage(std::string(option) + "=\"" + *text +
                   "\": expected two altitudes LOW,HIGH in degrees, LOW below HIGH, e.g. " +
                   option + "=" + ShortestDecimal(usual.low) + "," + ShortestDecimal(usual.high));
  }
  return AltitudeBand{*low, *high};
}

}  // namespace

SunSettings ReadSunSettings(const CommandLine& cl) {
  SunSettings sun;
  sun.observer_metres = ReadObserverHeight(cl);
  sun.horizon = ReadHorizon(cl) - HorizonDip(sun.observer_metres);
  if (const auto kind = cl.Value("--twilight")) {
    for (const auto& [name, altitude] : kTwilights) {
      if (*kind == name) sun.twilight = altitude;
    }
    if (!sun.twilight) {
      throw BadUsage("--twilight \"" + *kind + "\": expected civil, nautical or astronomical");
    }
  }
  sun.at = ReadAt(cl);
  sun.golden = ReadBand(cl, "--golden-hour", kGoldenHour);
  sun.blue = ReadBand(cl, "--blue-hour", kBlueHour);
  sun.moon = cl.Has("--moon");
  return sun;
}

}  // namespace orvalin
