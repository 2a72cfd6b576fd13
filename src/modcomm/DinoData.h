#pragma once
namespace ModComm {
// Copies what the game knows of each configured creature into the packet views.
void ReadDinoData();
}
