#include "controls/ParamReadout.h"

#include <cstdio>

#include "core/IParam.h"
#include "core/IPlugBase.h"
#include "core/NumericConversions.h"

ParamReadout::ParamReadout(IPlugBase* plug, int paramIdx, bool withUnit)
{
  const IParam* param = (plug && paramIdx >= 0) ? plug->Param(paramIdx) : nullptr;
  if (!param) return;
  char display[IParam::kDisplaySize];
  param->FormatValue(param->CurrentValue(), false, display);
  CopyBounded(mValue, display);
  if (withUnit) CopyBounded(mUnit, param->UnitLabel());
  std::snprintf(mText, sizeof mText, "%s%s", mValue, mUnit);
}
