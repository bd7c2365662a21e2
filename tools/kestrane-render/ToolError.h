#pragma once

#include <stdexcept>
#include <string>

// A failure the user can act on. main prints its message as one line and
// exits with a non-zero status.
class ToolError : public std::runtime_error
{
public:
  explicit ToolError(const std::string& message) : std::runtime_error(message) {}
};
