#pragma once
// Horizontal and vertical placement of text in controls (labels, panels,
// list view columns, edits), with the platform's names.

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };
