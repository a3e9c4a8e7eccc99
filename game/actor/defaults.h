// The actor framework's start-up: its statics and its answers to the
// screens and the flow's sound and input code.
#pragma once

namespace game {

// The framework's answers to the screens (ScreenActorHooks) and the flow's
// two hero sinks (the hit kind the damage routine stores in the hero's
// state timer, the hero's subtype for the sound substitution).
void installActorServices();
// The statics and the services above, before Application::init (next to
// registerGameProgram).
void registerActorFramework();

}  // namespace game
