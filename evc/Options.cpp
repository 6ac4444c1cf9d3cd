#include "Options.h"

#include <cmath>
#include <cstdlib>
#include <functional>
#include <regex>

namespace sonvarro::evc {

const std::vector<std::string> kAudioCodecNames = {"amr_nb", "aac", "mp3", "ac3", "vorbis", "pcm_s16le"};

namespace {

std::string OneOfCodecNames() {
  std::string text = "one of ";
  for (const std::string& name : kAudioCodecNames) text += (&name == &kAudioCodecNames.front() ? "" : ", ") + name;
  return text;
}

std::optional<double> ParseDecimal(const std::string& text) {
  static const std::regex kDecimal(R"([+-]?(\d+(\.\d*)?|\.\d+))");
  if (!std::regex_match(text, kDecimal)) return std::nullopt;
  const double value = std::strtod(text.c_str(), nullptr);
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<int> ParsePositiveInt(const std::string& text, int max) {
  static const std::regex kInteger(R"(\+?\d{1,9})");
  if (!std::regex_match(text, kInteger)) return std::nullopt;
  const long value = std::strtol(text.c_str(), nullptr, 10);
  if (value <= 0 || value > max) return std::nullopt;
  return static_cast<int>(value);
}

using Setter = std::function<bool(EncoderOptions&, const std::string&)>;

struct OptionRule {
  const char* name;
  bool takesValue;
  std::string expected;  // how a valid value looks, for the refusal message
  Setter set;
};

// Video options are checked for form only: the outputs are audio-only.
const std::vector<OptionRule>& Rules() {
  static const std::vector<OptionRule> rules = {
      {"-y", false, "", [](EncoderOptions& o, const std::string&) { return o.overwrite = true; }},
      {"-vn", false, "", [](EncoderOptions&, const std::string&) { return true; }},
      {"-i", true, "a file name",
       [](EncoderOptions& o, const std::string& v) {
         o.input = v;
         return !v.empty();
       }},
      {"-acodec", true, OneOfCodecNames(),
       [](EncoderOptions& o, const std::string& v) {
         for (const auto& name : kAudioCodecNames)
           if (v == name) {
             o.audioCodec = v;
             return true;
           }
         return false;
       }},
      {"-f", true, "a container name",
       [](EncoderOptions& o, const std::string& v) {
         static const std::regex kName(R"([A-Za-z0-9_]+)");
         o.format = v;
         return std::regex_match(v, kName);
       }},
      {"-s", true, "WIDTHxHEIGHT",
       [](EncoderOptions&, const std::string& v) {
         static const std::regex kSize(R"(\d{1,5}x\d{1,5})");
         return std::regex_match(v, kSize);
       }},
      {"-b", true, "a whole number",
       [](EncoderOptions&, const std::string& v) { return ParsePositiveInt(v, 1000000000).has_value(); }},
      {"-r", true, "a number",
       [](EncoderOptions&, const std::string& v) {
         auto rate = ParseDecimal(v);
         return rate && *rate > 0;
       }},
      {"-aspect", true, "W:H or a number",
       [](EncoderOptions&, const std::string& v) {
         static const std::regex kAspect(R"(\d{1,5}:\d{1,5}|\d+(\.\d+)?)");
         return std::regex_match(v, kAspect);
       }},
      {"-ab", true, "a bitrate in kbit/s",
       [](EncoderOptions& o, const std::string& v) {
         std::string digits = v;
         if (!digits.empty() && (digits.back() == 'k' || digits.back() == 'K')) digits.pop_back();
         o.audioBitrateKbps = ParsePositiveInt(digits, 100000);
         return o.audioBitrateKbps.has_value();
       }},
      {"-vol", true, "a percentage, 100 for unchanged",
       [](EncoderOptions& o, const std::string& v) {
         auto percent = ParseDecimal(v);
         if (!percent || *percent < 0 || *percent > 100000) return false;
         o.volumePercent = *percent;
         return true;
       }},
      {"-ac", true, "a channel count from 1 to 8",
       [](EncoderOptions& o, const std::string& v) {
         o.channels = ParsePositiveInt(v, 8);
         return o.channels.has_value();
       }},
      {"-ar", true, "a sample rate in Hz",
       [](EncoderOptions& o, const std::string& v) {
         o.sampleRate = ParsePositiveInt(v, 768000);
         return o.sampleRate.has_value();
       }},
      {"-ss", true, "hh:mm:ss or seconds",
       [](EncoderOptions& o, const std::string& v) {
         auto start = ParseTimeText(v);
         if (!start) return false;
         o.startSeconds = *start;
         return true;
       }},
      // A trim length of zero or below (an empty range) leaves nothing to
      // convert: refused rather than written as an empty file.
      {"-t", true, "a length of more than 0 seconds, or there is nothing to convert",
       [](EncoderOptions& o, const std::string& v) {
         auto length = ParseTimeText(v);
         if (!length || *length <= 0) return false;
         o.durationSeconds = *length;
         return true;
       }},
      // Not one of FFmpeg's: for tests and benchmarks only; the program never
      // passes it.
      {"-evc_instances", true, "a number of encoder instances from 1 to 64",
       [](EncoderOptions& o, const std::string& v) {
         o.encoderInstances = ParsePositiveInt(v, 64);
         return o.encoderInstances.has_value();
       }},
  };
  return rules;
}

const OptionRule* FindRule(const std::string& name) {
  for (const auto& rule : Rules())
    if (name == rule.name) return &rule;
  return nullptr;
}

ParsedOptions Refuse(std::string message) {
  ParsedOptions result;
  result.error = std::move(message);
  return result;
}

}  // namespace

static std::optional<double> ParseTimeParts(const std::string& text) {
  static const std::regex kClock(R"((?:(\d+):)?(\d+):(\d+(?:\.\d*)?))");
  static const std::regex kSeconds(R"(\d+(\.\d*)?|\.\d+)");
  std::smatch match;
  if (std::regex_match(text, match, kClock)) {
    const double hours = match[1].matched ? std::strtod(match[1].str().c_str(), nullptr) : 0.0;
    const double minutes = std::strtod(match[2].str().c_str(), nullptr);
    const double seconds = std::strtod(match[3].str().c_str(), nullptr);
    if (minutes >= 60 || seconds >= 60) return std::nullopt;
    return hours * 3600 + minutes * 60 + seconds;
  }
  if (std::regex_match(text, kSeconds)) {
    const double seconds = std::strtod(text.c_str(), nullptr);
    if (std::isfinite(seconds)) return seconds;
  }
  return std::nullopt;
}

// Longer than any media: keeps sample counts far from integer overflow.
constexpr double kLongestSeconds = 1e8;

std::optional<double> ParseTimeText(const std::string& text) {
  std::optional<double> seconds = ParseTimeParts(text);
  if (seconds && *seconds > kLongestSeconds) return std::nullopt;
  return seconds;
}

ParsedOptions ParseOptions(const std::vector<std::string>& args) {
  ParsedOptions result;
  std::vector<std::string> positional;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.size() > 1 && arg[0] == '-') {
      const OptionRule* rule = FindRule(arg);
      if (!rule) return Refuse("unknown option " + arg);
      std::string value;
      if (rule->takesValue) {
        if (i + 1 >= args.size()) return Refuse("option " + arg + " needs a value (" + rule->expected + ")");
        value = args[++i];
      }
      if (!rule->set(result.options, value))
        return Refuse("invalid value \"" + value + "\" for " + arg + ": expected " + rule->expected);
    } else {
      positional.push_back(arg);
    }
  }
  if (result.options.input.empty()) return Refuse("no input file given (-i SOURCE)");
  if (positional.empty()) return Refuse("no output file given (it comes last)");
  if (positional.size() > 1) return Refuse("unexpected argument \"" + positional.front() + "\"");
  result.options.output = positional.front();
  result.ok = true;
  return result;
}

}  // namespace sonvarro::evc
