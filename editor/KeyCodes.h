#pragma once

// Key codes the platform host passes to IGraphics::KeyDown. Keys without a
// code are not delivered.
enum EKeyCode
{
  kKeySpace = 0,
  kKeyUp = 1,
  kKeyDown = 2,
  kKeyLeft = 3,
  kKeyRight = 4,
  kKeyDigit0 = 5,  // digits 0-9 are 5-14
  kKeyDigit9 = 14,
  kKeyA = 15,      // letters A-Z are 15-40
  kKeyZ = 40
};
