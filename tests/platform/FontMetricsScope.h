#pragma once
// Installs fixed font metrics for one test and puts the previous ones back.

#include <memory>

#include "platform/Canvas.h"

namespace vk::test {

class TFontMetricsScope {
public:
  explicit TFontMetricsScope(const TFixedFontMetrics::TConfig& config = {})
      : FPrevious(SetFontMetrics(std::make_unique<TFixedFontMetrics>(config))) {}
  ~TFontMetricsScope() { SetFontMetrics(std::move(FPrevious)); }
  TFontMetricsScope(const TFontMetricsScope&) = delete;
  TFontMetricsScope& operator=(const TFontMetricsScope&) = delete;

private:
  std::unique_ptr<TFontMetrics> FPrevious;
};

}  // namespace vk::test
