#include "frame/strings_reader.h"

#include "frame/startup_error.h"
#include "frame/text.h"

namespace velmoria {

namespace {

constexpr std::string_view kStringsError = "stringファイルに誤りがあります";

Section text(std::string_view header, std::string& target) {
  return {header, [&target](SectionWalker& w) { target = w.readText(); }};
}
Section caption(std::string_view header, std::optional<std::string>& target) {
  return {header, [&target](SectionWalker& w) { target = w.readText(); }};
}

}  // namespace

Strings readStringsFile(const DataFolder& folder, std::string_view name, ReaderContext& context) {
  const auto message = [](const ReaderContext&) { return std::string(kStringsError); };
  auto lines = readTextLines(folder.resolve(name));
  if (!lines) throw StartupError(message(context));
  Strings s;
  // This file has no section label: the label of the previous reader stays.
  const SectionTable table = {
      {std::nullopt,
       {
           text("[Path]", s.Path),
           text("[Forward]", s.Forward),
           text("[Neutral]", s.Neutral),
           text("[Reverse]", s.Reverse),
           text("[Stop]", s.Stop),
           text("[Pass]", s.Pass),
           text("[Stop2]", s.Stop2),
           text("[Neut]", s.Neut),
           text("[Neut2]", s.Neut2),
           text("[Apply]", s.Apply),
           text("[Maintain]", s.Maintain),
           text("[Hold]", s.Hold),
           text("[Hold2]", s.Hold2),
           text("[EB]", s.EB),
           caption("[Start]", s.Start),
           caption("[Move]", s.Move),
           {"[Display]",
            [&s](SectionWalker& w) {
              std::array<std::string, 3> captions;
              for (auto& c : captions) c = w.readText();
              s.Display = captions;
            }},
           caption("[Control]", s.Control),
       }},
  };
  SectionWalker walker(std::move(*lines), context, message);
  walker.walk(table);
  return s;
}

}  // namespace velmoria
