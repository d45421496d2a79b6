#include "app/help_topics.h"

#include <algorithm>
#include <filesystem>

#include "platform/folder_files.h"

namespace quorlin {

namespace {

constexpr HelpTopic kTopics[] = {
    {kHelpContents, "index.html"},
    {kHelpMainWindow, "main_window.html"},
    // Controls of the main window.
    {110, "main_window.html#file-information"},
    {120, "main_window.html#folders"},
    {130, "main_window.html#files"},
    {140, "schema.html#schema-list"},
    {150, "schema.html#schema-list"},
    {160, "schema.html#odbc-only"},
    {170, "main_window.html#input-file"},
    {180, "main_window.html#input-file"},
    {190, "fixed_length.html"},
    {200, "main_window.html#separator"},
    {240, "main_window.html#separator"},
    {250, "main_window.html#qualifier"},
    {260, "main_window.html#header-row"},
    {270, "main_window.html#start-row"},
    {280, "main_window.html#scan-rows"},
    {290, "fixed_length.html#field-count"},
    {300, "fixed_length.html#line-length"},
    {310, "fixed_length.html#breaks"},
    {320, "main_window.html#view-data"},
    {330, "main_window.html#refresh"},
    {340, "fields.html"},
    {350, "fields.html#name"},
    {360, "fields.html#type"},
    {370, "fields.html#width"},
    {380, "fields.html#date-format"},
    {390, "fields.html#add"},
    {400, "fields.html#modify"},
    {410, "fields.html#delete"},
    {420, "fields.html#field-list"},
    {430, "fields.html#order"},
    {450, "guess.html"},
    {460, "main_window.html#preview"},
    {470, "fixed_length.html#ruler"},
    {480, "schema.html#delete"},
    {490, "schema.html#save"},
    {500, "main_window.html#close"},
    // The main menu.
    {590, "menus.html#file"},
    {600, "menus.html#open"},
    {610, "menus.html#refresh"},
    {630, "menus.html#guess"},
    {640, "menus.html#save"},
    {650, "menus.html#export"},
    {670, "menus.html#print"},
    {680, "menus.html#text-dsn"},
    {700, "menus.html#exit"},
    {710, "menus.html#options"},
    {720, "menus.html#use-schema"},
    {730, "menus.html#odbc-only"},
    {750, "menus.html#count-from-0"},
    {760, "menus.html#header-row"},
    {770, "menus.html#rows-to-scan"},
    {780, "menus.html#rows-to-scan"},
    {790, "menus.html#rows-to-scan"},
    {800, "menus.html#rows-to-scan"},
    {810, "menus.html#text-qualifier"},
    {820, "menus.html#text-qualifier"},
    {830, "menus.html#text-qualifier"},
    {840, "menus.html#text-qualifier"},
    {850, "menus.html#field-identifier"},
    {860, "menus.html#field-identifier"},
    {870, "menus.html#field-identifier"},
    {880, "menus.html#field-identifier"},
    {890, "menus.html#field-identifier"},
    {900, "menus.html#field-identifier"},
    {910, "menus.html#fixed-length"},
    {930, "menus.html#open-last"},
    {940, "menus.html#use-last-export"},
    {960, "menus.html#set-editor"},
    {970, "menus.html#sound-effects"},
    {980, "menus.html#help"},
    {990, "menus.html#context-help"},
    {1000, "menus.html#about"},
    {1010, "structure_report.html#to-file"},
    {1020, "structure_report.html#to-printer"},
    {1030, "update_check.html"},
    // The other windows.
    {kHelpExportDialog, "export.html"},
    {kHelpDsnDialog, "text_dsn.html"},
    {kHelpOdbcErrors, "odbc_errors.html"},
    {kHelpUpdateDialog, "update_check.html"},
    {1310, "update_check.html#proxy"},
    {1320, "update_check.html#proxy"},
    {1330, "update_check.html#proxy"},
    {1340, "update_check.html#proxy"},
    {1350, "update_check.html#check"},
    {1360, "update_check.html#progress"},
};

constexpr ControlHelp kMainWindowControls[] = {
    {"gpInfo", 110},        {"dirList", 120},       {"lstFiles", 130},      {"chkDefined", 140},
    {"lstSchema", 150},     {"chkODBCOnly", 160},   {"txtInputFile", 170},  {"cmdBrowse", 180},
    {"optFixed", 190},      {"optSpace", 200},      {"optTab", 200},        {"optComma", 200},
    {"optCustom", 200},     {"txtChar", 240},       {"cboTextChar", 250},   {"cboDateOrder", 250},  {"cboDecimal", 250},    {"chkHeaderRow", 260},
    {"txtStart", 270},      {"txtRows", 280},       {"txtFieldCount", 290}, {"txtLength", 300},
    {"lstLines", 310},      {"cmdViewData", 320},   {"cmdRefresh", 330},    {"gpFields", 340},
    {"txtFieldName", 350},  {"luFieldType", 360},   {"txtWidth", 370},      {"cboDateTime", 380},
    {"cmdAdd", 390},        {"cmdModify", 400},     {"cmdRemove", 410},     {"lvwFields", 420},
    {"cmdUp", 430},         {"cmdDown", 430},       {"cmdGuess", 450},      {"grdData", 460},
    {"pnlImg", 470},        {"cmdSchemaDelete", 480}, {"cmdSave", 490},     {"cmdClose", 500},
};

bool HoldsContents(const std::string& folder) {
  std::error_code ignored;
  return !folder.empty() && std::filesystem::is_regular_file(folder + "index.html", ignored);
}

}  // namespace

std::span<const HelpTopic> HelpTopics() { return kTopics; }

std::string HelpPageFor(int context) {
  const auto* topic = std::find_if(std::begin(kTopics), std::end(kTopics),
                                   [context](const HelpTopic& t) { return t.context == context; });
  return topic != std::end(kTopics) ? topic->page : kTopics[0].page;
}

std::span<const ControlHelp> MainWindowControlHelp() { return kMainWindowControls; }

std::string FindHelpFolder(const std::string& programFolder) {
  const std::string beside = WithTrailingSlash(programFolder);
  for (const std::string& folder : {beside + "help/", beside + "../share/quorlin/help/"}) {
    if (HoldsContents(folder)) return folder;
  }
  return "";
}

}  // namespace quorlin
