#pragma once
// The system colours clBtnFace and clBtnShadow follow the desktop's palette.

// Takes the button face and button shadow colours from the running desktop
// application's palette. Returns false, leaving the colours as they are, when no
// desktop application runs (headless use).
bool UpdateSystemColors();
