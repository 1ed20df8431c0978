#pragma once

class QuavApplication;
class TMainForm;

// The end of the session is a close request nobody answers: the session manager's request to
// save, SIGTERM, SIGHUP and SIGINT each run the window's unattended close and end the program
// with status 0. A lost display saves from the exit the windowing plugin calls, on our thread.
namespace SessionEnd {
void install(QuavApplication& app, TMainForm& form);
// Called after the event loop ended normally, so nothing runs twice at exit.
void uninstall();
} // namespace SessionEnd
