#include "cli/manual_page.h"

#include <algorithm>
#include <cctype>
#include <sstream>
#include <vector>

namespace wolterix::cli {

namespace {

// Text as roff reads it literally: backslashes escaped, no line taken for a request.
std::string roffText(std::string_view text) {
  std::string result;
  bool lineStart = true;
  for (const char c : text) {
    if (lineStart && (c == '.' || c == '\'')) result += "\\&";
    if (c == '\\')
      result += "\\e";
    else
      result += c;
    lineStart = c == '\n';
  }
  return result;
}

// An option or command name, its hyphens as hyphens rather than dashes.
std::string roffName(std::string_view name) {
  std::string result;
  for (const char c : roffText(name)) {
    if (c == '-') result += '\\';
    result += c;
  }
  return result;
}

std::string trimmed(std::string text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
  std::size_t start = 0;
  while (start < text.size() && std::isspace(static_cast<unsigned char>(text[start]))) ++start;
  return text.substr(start);
}

std::string oneLine(std::string text) {
  std::replace(text.begin(), text.end(), '\n', ' ');
  return trimmed(std::move(text));
}

bool shown(const CLI::App& app, const CLI::Option* option) {
  return !option->get_group().empty() && option != app.get_help_ptr() &&
         option != app.get_help_all_ptr();
}

std::vector<const CLI::Option*> shownOptions(const CLI::App& app) {
  return app.get_options([&app](const CLI::Option* option) { return shown(app, option); });
}

std::string label(const CLI::App& app, const std::string& text) {
  return app.get_formatter()->get_label(text);
}

// "--time LICZBA", "PLIK", or a flag's names: bold names, an italic value.
std::string optionUsage(const CLI::App& app, const CLI::Option* option) {
  if (!option->nonpositional()) return "\\fI" + roffText(option->get_name(true)) + "\\fR";
  std::string names;
  for (const auto& name : option->get_snames())
    names += (names.empty() ? "" : ", ") + std::string("\\fB-") + roffName(name) + "\\fR";
  for (const auto& name : option->get_lnames())
    names += (names.empty() ? "" : ", ") + std::string("\\fB\\-\\-") + roffName(name) + "\\fR";
  if (option->get_type_size() != 0 && !option->get_type_name().empty())
    names += " \\fI" + roffText(label(app, option->get_type_name())) + "\\fR";
  return names;
}

// The usage with the first name only, bracketed unless required.
std::string synopsisItem(const CLI::App& app, const CLI::Option* option) {
  std::string item;
  if (!option->nonpositional()) {
    item = "\\fI" + roffText(option->get_name(true)) + "\\fR";
  } else {
    item = option->get_lnames().empty() ? "\\fB-" + roffName(option->get_snames().front())
                                        : "\\fB\\-\\-" + roffName(option->get_lnames().front());
    item += "\\fR";
    if (option->get_type_size() != 0 && !option->get_type_name().empty())
      item += " \\fI" + roffText(label(app, option->get_type_name())) + "\\fR";
  }
  if (option->get_required() || !option->nonpositional()) return item;
  return "[" + item + "]";
}

void writeOptions(std::ostream& page, const CLI::App& app) {
  for (const CLI::Option* option : shownOptions(app)) {
    page << ".TP\n" << optionUsage(app, option) << '\n';
    page << roffText(trimmed(option->get_description())) << '\n';
    if (option->get_required() && option->nonpositional())
      page << roffText(label(app, "REQUIRED")) << '\n';
    if (!option->get_default_str().empty())
      page << "(domyślnie " << roffText(option->get_default_str()) << ")\n";
  }
}

// The footer's "Kody wyjścia: 0 sukces, 1 ...": a tagged paragraph per code when it reads so.
void writeExitStatus(std::ostream& page, const std::string& footer) {
  std::string text = oneLine(footer);
  const std::size_t colon = text.find(':');
  std::string codes = colon == std::string::npos ? text : trimmed(text.substr(colon + 1));
  if (!codes.empty() && codes.back() == '.') codes.pop_back();
  std::vector<std::string> items;
  std::size_t start = 0;
  for (std::size_t at = codes.find(", "); at != std::string::npos; at = codes.find(", ", at + 1))
    if (at + 2 < codes.size() && std::isdigit(static_cast<unsigned char>(codes[at + 2]))) {
      items.push_back(codes.substr(start, at - start));
      start = at + 2;
    }
  items.push_back(codes.substr(start));
  const bool coded = std::all_of(items.begin(), items.end(), [](const std::string& item) {
    return !item.empty() && std::isdigit(static_cast<unsigned char>(item.front())) &&
           item.find(' ') != std::string::npos;
  });
  if (!coded) {
    page << roffText(text) << '\n';
    return;
  }
  for (const std::string& item : items) {
    const std::size_t space = item.find(' ');
    page << ".TP\n\\fB" << item.substr(0, space) << "\\fR\n"
         << roffText(trimmed(item.substr(space + 1))) << '\n';
  }
}

}  // namespace

std::string manualPage(const CLI::App& app, std::string_view version) {
  std::ostringstream page;
  const std::string name = app.get_name();
  std::string title = name;
  std::transform(title.begin(), title.end(), title.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  const std::string description = trimmed(app.get_description());
  std::string summary = description.substr(0, description.find('\n'));
  if (const std::size_t dash = summary.find(" - "); dash != std::string::npos)
    summary = summary.substr(dash + 3);
  if (!summary.empty() && summary.back() == '.') summary.pop_back();

  page << "'\\\" -*- coding: UTF-8 -*-\n";
  page << ".TH " << roffName(title) << " 1 \"\" \"Wolterix " << roffText(version) << "\"\n";
  page << ".nh\n";  // English hyphenation rules would split Polish words wrongly
  page << ".SH NAME\n" << roffName(name) << " \\- " << roffText(summary) << '\n';

  const auto commands = app.get_subcommands([](const CLI::App*) { return true; });
  page << ".SH SYNOPSIS\n";
  for (const CLI::App* command : commands) {
    page << ".br\n\\fB" << roffName(name) << ' ' << roffName(command->get_name()) << "\\fR";
    for (const CLI::Option* option : shownOptions(*command))
      page << ' ' << synopsisItem(*command, option);
    page << '\n';
  }
  page << ".br\n\\fB" << roffName(name) << " \\-\\-help\\fR\n";

  page << ".SH DESCRIPTION\n" << roffText(description) << '\n';
  page << ".SH OPTIONS\n";
  writeOptions(page, app);
  if (const CLI::Option* help = app.get_help_ptr())
    page << ".TP\n" << optionUsage(app, help) << '\n' << roffText(help->get_description()) << '\n';

  page << ".SH COMMANDS\n";
  for (const CLI::App* command : commands) {
    page << ".SS " << roffName(command->get_name()) << '\n'
         << roffText(trimmed(command->get_description())) << '\n';
    writeOptions(page, *command);
  }

  if (!app.get_footer().empty()) {
    page << ".SH EXIT STATUS\n";
    writeExitStatus(page, app.get_footer());
  }
  return page.str();
}

}  // namespace wolterix::cli
