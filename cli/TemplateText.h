#pragma once

#include <QString>

#include <utility>
#include <vector>

/// The template with each "{{NAME}}" replaced by the text given for NAME; a text that ends
/// in a newline loses it, as the place's own line ends there. Returns "" when a place is
/// missing or named twice, saying which in error.
QString FillTemplate(const QString& text, const std::vector<std::pair<QString, QString>>& places,
                     QString& error);
