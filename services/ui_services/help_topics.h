#ifndef TALVERO_APP_HELP_TOPICS_H
#define TALVERO_APP_HELP_TOPICS_H

// The pages of the help file beside the program, one per dialog or feature,
// and the help viewer that shows them.

#include <cstddef>

constexpr char kHelpFileName[] = "talver.chm";

// The page of a topic number; the introduction for any number without one.
const char* HelpTopicPage(int topic);

// "<drive and folder of programPath>talver.chm::/<page>"; false when it does
// not fit in size.
bool BuildHelpTopicPath(const char* programPath, int topic, char* out, size_t size);
// "<drive and folder of programPath>talver.chm"; false when it does not fit.
bool BuildHelpFilePath(const char* programPath, char* out, size_t size);

// What the user is told when the help file is not beside the program.
constexpr char kHelpFileMissing[] = "The help file talver.chm is not installed beside the program.";

#ifdef _WIN32
// Loads the help viewer once; on a failure shows the system's text for it
// and returns false, to try again at the next call.
bool LoadHtmlHelp();
// Shows the topic's page, loading the viewer when needed; a help file that
// is not there is said so in a message box, at every attempt.
void ShowHelpTopic(int topic);
#endif

#endif
