// The fixed texts of the structure page, in Windows-1251. "%s" takes a text and "%d" an
// integer, filled left to right by kv::AppendFormat. Pure: no Windows header.
#pragma once

#include "text/cp1251_literal.h"
#include "text/script_format.h"

#include <string_view>

namespace kv::html {

inline constexpr std::string_view HeadPiece =
    Cp1251<u8"<head>\r\n"
           u8"<title>Модель данных ЗЕЛВАР - Технология</title>\r\n"
           u8"</head>\r\n"
           u8"\r\n"
           u8"<style type=\"text/css\">\r\n"
           u8" td.cell {border:none;}\r\n"
           u8" td.allcell {border:solid windowtext 1.0pt;}\r\n"
           u8" td.trbcell {border:solid windowtext 1.0pt; border-left:none}\r\n"
           u8" td.lrbcell {border:solid windowtext 1.0pt; border-top:none}\r\n"
           u8" td.rbcell  {border:solid windowtext 1.0pt; border-top:none; border-left:none}\r\n"
           u8"</style>\r\n"
           u8"\r\n"
           u8"<body>\r\n">;

inline constexpr ScriptTemplate ModelHeadingPiece{
    Cp1251<u8"Модель технологического процесса<br>\r\n"
           u8"<b>%s</b><br>\r\n"
           u8"Классов - %d, фильтров - %d<br><br>">};

inline constexpr std::string_view ClassesTitlePiece = Cp1251<u8"<b>Классы</b><br>">;
inline constexpr std::string_view TableStartPiece = "<table border=0 cellspacing=0 cellpadding=0>";
inline constexpr std::string_view TableEndPiece = "</table>";
inline constexpr std::string_view RowStartPiece = " <tr>";
inline constexpr std::string_view RowEndPiece = " </tr>";

// Anchor name, then the display name.
inline constexpr ScriptTemplate ClassHeadingCellPiece{
    Cp1251<u8"  <td valign=top colspan=4>\r\n"
           u8"   <br><a name=%s>Класс <b>%s</b></a>\r\n"
           u8"  </td>">};

inline constexpr std::string_view AttributeHeaderPiece =
    Cp1251<u8" <tr>\r\n"
           u8"  <td valign=top colspan=4>Атрибуты и функции</td>\r\n"
           u8" </tr>\r\n"
           u8" <tr>\r\n"
           u8"  <td valign=top class=allcell><b>&nbsp;Имя</b></td>\r\n"
           u8"  <td valign=top class=trbcell><b>&nbsp;Тип</b></td>\r\n"
           u8"  <td valign=top class=trbcell><b>&nbsp;Комментарий</b></td>\r\n"
           u8"  <td valign=top class=trbcell><b>&nbsp;Свойства</b></td>\r\n"
           u8" </tr>">;

inline constexpr ScriptTemplate FirstCellPiece{"  <td valign=top class=lrbcell>&nbsp;%s</td>"};
inline constexpr ScriptTemplate NextCellPiece{"  <td valign=top class=rbcell>&nbsp;%s</td>"};
inline constexpr std::string_view OpenCellPiece = "  <td valign=top class=rbcell>";
inline constexpr ScriptTemplate PropertyLinePiece{"   %s<br>"};
inline constexpr std::string_view NoPropertiesPiece = "   &nbsp;";
inline constexpr std::string_view CellEndPiece = "  </td>";

// Target, then the text.
inline constexpr ScriptTemplate LinkPiece{"   <a href=#%s>%s</a>"};

inline constexpr ScriptTemplate SubordinatesRowPiece{
    Cp1251<u8" <tr>\r\n"
           u8"  <td valign=top class=cell>Подчиненные:</td>\r\n"
           u8"  <td valign=top class=cell colspan=3>%s</td>\r\n"
           u8" </tr>">};

inline constexpr ScriptTemplate ParentsRowPiece{
    Cp1251<u8" <tr>\r\n"
           u8"  <td valign=top class=cell>Родители:</td>\r\n"
           u8"  <td valign=top class=cell colspan=3>%s</td>\r\n"
           u8" </tr>">};

inline constexpr std::string_view FiltersTitlePiece = Cp1251<u8"<br><br><b>Фильтры</b><br><br>">;

inline constexpr std::string_view FilterHeaderPiece =
    Cp1251<u8" <tr>\r\n"
           u8"  <td valign=top class=allcell><b>Имя</b></td>\r\n"
           u8"  <td valign=top class=trbcell><b>Состав<b></td>\r\n"
           u8" </tr>">;

// Name, caption, then the list of constraint links.
inline constexpr ScriptTemplate FilterRowPiece{
    " <tr>\r\n"
    "  <td valign=top class=lrbcell><b>%s</b><br>(%s)</td>\r\n"
    "  <td valign=top class=rbcell>%s</td>\r\n"
    " </tr>"};

inline constexpr std::string_view EndPiece = "\r\n</body>\r\n\r\n</html>";

// What an empty list of links shows, and the caption of a filter without one.
inline constexpr std::string_view EmptyListText = Cp1251<u8"Отсутствуют">;
inline constexpr std::string_view EmptyCaptionText = " ... ";

// The separator of a list of links.
inline constexpr std::string_view ListSeparator = ", ";

} // namespace kv::html
