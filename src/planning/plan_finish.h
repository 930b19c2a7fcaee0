// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Finishing a plan before it is shown, printed or written back (completion, integrity check,
// registration order), and the simple distributions of the results window.
#include <cstdint>

#include "planning/plan_random.h"
#include "records/shuf_tape.h"
#include "records/sys_control.h"
#include "records/workspace.h"

namespace zemo {

// Appends the CDs a registration-order pass left out (those after its prefix) to the end of the
// unrecorded list, in registration order; afterwards t covers the whole selection.
void completePlan(const ShufTape& selection, ShufTape& t);

// The integrity code of t (0 = consistent, else 1..6 as the last finding), without a message.
int planIntegrityCode(const ShufTape& selection, const ShufTape& t);
// 0 when consistent; otherwise shows "Program error!(code=%d)" and returns 6.
int checkPlan(Workspace& ws, const ShufTape& selection, const ShufTape& t);
// The box checkPlan shows for an integrity code.
void showPlanError(Workspace& ws, int code);

// Sorts each list by registration position, lays the CDs out again in that order and, unless the
// code is 2 or 5 or side A is not optimised, makes side A begin with the earlier-registered CD.
void normalisePlan(const ShufTape& selection, ShufTape& t, int code, const ShufControl& ctl);

// Whether the registration-order warning applies to a laid-out plan.
bool regOrderFailed(const ShufTape& t, const ShufControl& ctl);
// Shows "登録順優先に失敗しました！" when regOrderFailed.
void warnRegOrder(Workspace& ws, const ShufTape& t, const ShufControl& ctl);

// Every CD on side A in registration order ("振分無").
void planNoShuffle(const ShufTape& selection, ShufTape& t);
// The most even cut of the registration order into side A and side B ("２分割"); ties keep the earlier cut.
void planHalfSplit(const ShufTape& selection, ShufTape& t);
// Mixes side A (side 0) or side B (side 1) of t with the generator as it stands.
void shuffleSide(int side, ShufTape& t, PlanRandom& rng);
// v: n entries zeroed by the caller; receives a permutation of 0..n-1 that moves something when
// n >= 2. Mode 0 keeps the first element in place (unless that gives the identity).
void randomPermutation(PlanRandom& rng, int mode, int n, std::int32_t* v);

}  // namespace zemo
