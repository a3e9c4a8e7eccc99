// The actor framework's start-up: its statics. The screens, the flow and
// the world call the framework's routines by name (screencalls.h and the
// folder's other headers); nothing else is installed.
#pragma once

namespace game {

// The framework's statics, before Application::init (next to
// registerGameProgram).
void registerActorFramework();

}  // namespace game
