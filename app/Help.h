#pragma once

#include <QString>

namespace ortolan {

// The program's help: bilingual HTML pages below Help/ in the application
// folder. The contents page is settings().HelpFilePath (Help/Ortolan.html or
// Help/OrtolanEng.html); topics are addressed by context number and live
// beside it as Help/Ortolan/<number>.html or Help/OrtolanEng/<number>.html.

// Context numbers of the topics the program opens.
namespace HelpContext {
constexpr int Contents = 11;      // help finder / sites table
constexpr int DataSources = 14;   // data sources table
constexpr int NewFeatures = 28;
constexpr int Authors = 30;
constexpr int Tree = 40;
constexpr int Search = 41;
constexpr int Card = 42;
constexpr int MapTools = 50;
constexpr int Backgrounds = 51;
constexpr int Export = 60;
constexpr int Printing = 70;
}  // namespace HelpContext

// Path of a topic's page for the current language ("" for the contents page).
QString helpTopicPath(int context);

// Shows the help window with the contents page (help command 11).
void showHelpContents();
// Shows the help window at the topic with that context number (help command 1).
void showHelpTopic(int context);

}  // namespace ortolan
