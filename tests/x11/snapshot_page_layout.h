// SPDX-License-Identifier: MIT
// Centres of the snapshot page's controls in the program's client area, where the tests
// click them as a user would.
#pragma once

namespace pelmora::testing {

constexpr int kSnapshotPage[2] = {184, 282};    // Option2(3) "截图像"
constexpr int kCheck5[2] = {40, 244};           // "范围"
constexpr int kRangeFirst[2] = {110, 245};      // 范围(0); the others 60 pixels apart
constexpr int kSnapshotButton[2] = {299, 226};  // 屏幕截图按钮
constexpr int kCheck6[2] = {40, 262};           // "保存到"

}  // namespace pelmora::testing
