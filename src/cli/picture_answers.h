// SPDX-License-Identifier: MIT
// find-image's and wait-image's search: the pictures read, then looked for in one grab,
// exactly (within a tolerance) or by similarity, each at every scale asked for.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "cli/cli_request.h"
#include "cli/cli_result.h"
#include "cli/cli_services.h"
#include "platform/surface.h"

namespace pelmora {

// The pictures of request's FILEs in order, or why one cannot be read (status 2, the file
// named). Each file's headers are read first and refuse it before its pixels are read; a
// file larger than the editor opens is refused as the editor refuses it.
std::variant<std::vector<Surface>, CliResult> ReadPictureFiles(const CliRequest& request, CliFiles& files);

// "picture "a.bmp"", or "pictures "a.bmp", "b.bmp"": what a message says was not found.
std::string PicturesNamed(const CliRequest& request);

// One grab of request's region searched for each picture, in order. Without --all the
// answer is the first picture found (its first place, or with --similarity its best); with
// --all every place of every picture.
CliResult FindPicturesAnswer(const CliRequest& request, CliServices& services, const std::vector<Surface>& pictures);

}  // namespace pelmora
