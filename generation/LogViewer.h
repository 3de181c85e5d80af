#pragma once
// The log buttons of the links form (CMD_LOG) and of the mass duplication tab (CMD_LOGDUPL): both show
// the log of the last run. On the desktop the host's text viewer opens the log file; when the host runs
// in a browser front end (environment variable WEBRender = "1") the file is on the server, so the user
// first picks where to save the run's lines and the viewer opens that copy.
#include "entry/HostInterfaces.h"
#include "generation/ProcessingLog.h"

namespace generation {

inline constexpr const char* VariabileWebRender = "WEBRender";

// True when the environment variable WEBRender is "1".
bool WebRenderAttivo();

// Errors of the host objects reach the caller, which reports them by its own convention.
void MostraLogElaborazione(const ProcessingLog& log, entry::IMessageService& messaggi, bool webRender);
// The same, with the mode taken from the environment.
void MostraLogElaborazione(const ProcessingLog& log, entry::IMessageService& messaggi);

}  // namespace generation
