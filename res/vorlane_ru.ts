<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>Dialog</name>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Load Bios</source>
        <translation>Открыть</translation>
    </message>
    <message>
        <source>Save Bios</source>
        <translation>Сохранить</translation>
    </message>
    <message>
        <source>Setup</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <source>Synch clocks:</source>
        <translation>Синхронно:</translation>
    </message>
    <message>
        <source>In File   Check sum OFF</source>
        <translation>Без проверки КС</translation>
    </message>
    <message>
        <source>Bios</source>
        <translation>BIOS</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>Шрифт</translation>
    </message>
    <message>
        <source>SubSys</source>
        <translation>Подсистема</translation>
    </message>
    <message>
        <source>Open File</source>
        <translation>Файл</translation>
    </message>
    <message>
        <source>MEM</source>
        <translation>Память</translation>
    </message>
    <message>
        <source>Chip</source>
        <translation>Ядро</translation>
    </message>
    <message>
        <source>Standart TV</source>
        <translation>Стандарт ТВ</translation>
    </message>
    <message>
        <source>Vorlane  Version 2.5</source>
        <translation>Vorlane, версия 2.5</translation>
    </message>
    <message>
        <source>Copyright (C) 2026 the Vorlane authors</source>
        <translation>© 2026 авторы Vorlane</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Free software - vorlane.example.org</source>
        <translation>Свободное ПО: vorlane.example.org</translation>
    </message>
    <message>
        <source>About Vorlane</source>
        <translation>О программе Vorlane</translation>
    </message>
    <message>
        <source>Load</source>
        <translation>Загрузить</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Сохранить</translation>
    </message>
    <message>
        <source>Rus</source>
        <translation>Рус</translation>
    </message>
    <message>
        <source>Code:</source>
        <translation>Код:</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Просмотр</translation>
    </message>
    <message>
        <source>Revert</source>
        <translation>Вернуть</translation>
    </message>
    <message>
        <source>Glyph</source>
        <translation>Символ</translation>
    </message>
    <message>
        <source>Edit End</source>
        <translation>Готово</translation>
    </message>
    <message>
        <source>Vendor ID:</source>
        <translation>ID вендора:</translation>
    </message>
    <message>
        <source>Device ID:</source>
        <translation>ID устройства:</translation>
    </message>
    <message>
        <source>Subsystem ID:</source>
        <translation>ID подсистемы:</translation>
    </message>
    <message>
        <source>Subvendor ID:</source>
        <translation>ID субвендора:</translation>
    </message>
    <message>
        <source>EDIT</source>
        <translation>Изменить</translation>
    </message>
    <message>
        <source>Edit Sub</source>
        <translation>Изменение подсистемы</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Закрыть</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Копировать</translation>
    </message>
    <message>
        <source>Compare with File</source>
        <translation>Сравнение с файлом</translation>
    </message>
    <message>
        <source>Chip size:</source>
        <translation>Чип:</translation>
    </message>
    <message>
        <source>Save Padded...</source>
        <translation>Дополнить...</translation>
    </message>
    <message>
        <source>Check for Flashing</source>
        <translation>Проверка перед прошивкой</translation>
    </message>
</context>
<context>
    <name>DialogKit</name>
    <message>
        <source>Mi&amp;nimize</source>
        <translation>&amp;Свернуть</translation>
    </message>
    <message>
        <source>Ma&amp;ximize</source>
        <translation>&amp;Развернуть</translation>
    </message>
    <message>
        <source>&amp;Close	Alt+F4</source>
        <translation>&amp;Закрыть	Alt+F4</translation>
    </message>
    <message>
        <source>Window menu</source>
        <translation>Меню окна</translation>
    </message>
    <message>
        <source>Could not %1: %2.</source>
        <translation>Не удалось %1: %2.</translation>
    </message>
    <message>
        <source>The command stopped on an unexpected error:
</source>
        <translation>Команда прервана непредвиденной ошибкой:
</translation>
    </message>
    <message>
        <source>The command stopped on an unexpected error.</source>
        <translation>Команда прервана непредвиденной ошибкой.</translation>
    </message>
    <message>
        <source>%1 Help</source>
        <translation>Справка %1</translation>
    </message>
</context>
<context>
    <name>Errno</name>
    <message>
        <source>No such file or directory</source>
        <translation>Нет такого файла или каталога</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>Отказано в доступе</translation>
    </message>
    <message>
        <source>Operation not permitted</source>
        <translation>Операция не позволена</translation>
    </message>
    <message>
        <source>Is a directory</source>
        <translation>Это каталог</translation>
    </message>
    <message>
        <source>Not a directory</source>
        <translation>Это не каталог</translation>
    </message>
    <message>
        <source>No space left on device</source>
        <translation>На устройстве не осталось свободного места</translation>
    </message>
    <message>
        <source>Disk quota exceeded</source>
        <translation>Превышена дисковая квота</translation>
    </message>
    <message>
        <source>Read-only file system</source>
        <translation>Файловая система доступна только для чтения</translation>
    </message>
    <message>
        <source>Too many levels of symbolic links</source>
        <translation>Слишком много уровней символьных ссылок</translation>
    </message>
    <message>
        <source>File exists</source>
        <translation>Файл существует</translation>
    </message>
    <message>
        <source>File too large</source>
        <translation>Файл слишком велик</translation>
    </message>
    <message>
        <source>File name too long</source>
        <translation>Слишком длинное имя файла</translation>
    </message>
    <message>
        <source>Input/output error</source>
        <translation>Ошибка ввода/вывода</translation>
    </message>
    <message>
        <source>No such device or address</source>
        <translation>Нет такого устройства или адреса</translation>
    </message>
    <message>
        <source>Device or resource busy</source>
        <translation>Устройство или ресурс занято</translation>
    </message>
    <message>
        <source>Text file busy</source>
        <translation>Текстовый файл занят</translation>
    </message>
    <message>
        <source>Invalid argument</source>
        <translation>Недопустимый аргумент</translation>
    </message>
    <message>
        <source>Too many open files</source>
        <translation>Слишком много открытых файлов</translation>
    </message>
    <message>
        <source>Cannot allocate memory</source>
        <translation>Невозможно выделить память</translation>
    </message>
    <message>
        <source>Resource temporarily unavailable</source>
        <translation>Ресурс временно недоступен</translation>
    </message>
    <message>
        <source>Not a regular file</source>
        <translation>Это не обычный файл</translation>
    </message>
    <message>
        <source>Nothing to write (0 bytes), so the file is left as it was</source>
        <translation>Нечего записывать (0 байт), файл оставлен как был</translation>
    </message>
</context>
<context>
    <name>FileError</name>
    <message>
        <source>open</source>
        <translation>открыть файл</translation>
    </message>
    <message>
        <source>open for writing</source>
        <translation>открыть файл для записи</translation>
    </message>
    <message>
        <source>create</source>
        <translation>создать файл</translation>
    </message>
    <message>
        <source>read</source>
        <translation>прочитать файл</translation>
    </message>
    <message>
        <source>write</source>
        <translation>записать файл</translation>
    </message>
</context>
<context>
    <name>FontError</name>
    <message>
        <source>larger than any font file (over %1 MiB)</source>
        <translation>больше любого файла шрифта (свыше %1 МиБ)</translation>
    </message>
    <message>
        <source>larger than any font file</source>
        <translation>больше любого файла шрифта</translation>
    </message>
    <message>
        <source>the image has no %1x%2 font to replace</source>
        <translation>в образе нет шрифта %1x%2, который можно заменить</translation>
    </message>
    <message>
        <source>glyphs are %1 pixels wide, need %2</source>
        <translation>ширина символов %1 пикс., а нужна %2</translation>
    </message>
    <message>
        <source>glyphs are %1 pixels high, need %2</source>
        <translation>высота символов %1 пикс., а нужна %2</translation>
    </message>
    <message>
        <source>glyphs are %1 pixels high, need %2 or %3</source>
        <translation>высота символов %1 пикс., а нужна %2 или %3</translation>
    </message>
    <message>
        <source>glyphs take %1 bytes, but %2 rows of %3 pixels take %4</source>
        <translation>символ занимает %1 байт, а %2 строк по %3 пикс. занимают %4</translation>
    </message>
    <message>
        <source>has %1 glyphs, need at least %2</source>
        <translation>в нём %1 символов, а нужно не меньше %2</translation>
    </message>
    <message>
        <source>its glyphs run past the end of the file (%1 glyphs need %2 bytes, the file has %3)</source>
        <translation>символы выходят за конец файла (%1 символам нужно %2 байт, в файле %3)</translation>
    </message>
    <message>
        <source>its PC Screen Font header is cut short</source>
        <translation>его заголовок PC Screen Font обрезан</translation>
    </message>
    <message>
        <source>PC Screen Font version %1.%2 is unknown</source>
        <translation>неизвестная версия PC Screen Font %1.%2</translation>
    </message>
    <message>
        <source>its header size %1 is too small</source>
        <translation>размер заголовка %1 слишком мал</translation>
    </message>
    <message>
        <source>its header size %1 points past the end of the file</source>
        <translation>размер заголовка %1 выходит за конец файла</translation>
    </message>
    <message>
        <source>its Unicode table ends before the entry of glyph %1</source>
        <translation>таблица Unicode обрывается перед записью символа %1</translation>
    </message>
    <message>
        <source>its Unicode table has malformed UTF-%1 in the entry of glyph %2</source>
        <translation>в таблице Unicode неверный UTF-%1 в записи символа %2</translation>
    </message>
    <message>
        <source>it has none of the characters of code page %1</source>
        <translation>в нём нет ни одного символа кодовой страницы %1</translation>
    </message>
    <message>
        <source>%1 bytes: neither a raw %2x%3 font nor a PC Screen Font</source>
        <translation>%1 байт: это не простой шрифт %2x%3 и не PC Screen Font</translation>
    </message>
    <message>
        <source>%1 bytes: neither a raw %2x%3 or %4x%5 font nor a PC Screen Font</source>
        <translation>%1 байт: это не простой шрифт %2x%3 или %4x%5 и не PC Screen Font</translation>
    </message>
    <message>
        <source>a font %1 pixels high is not a VGA font</source>
        <translation>шрифт высотой %1 пикс. не является шрифтом VGA</translation>
    </message>
    <message>
        <source>cannot start gzip decompression</source>
        <translation>не удаётся начать распаковку gzip</translation>
    </message>
    <message>
        <source>cannot restart gzip decompression</source>
        <translation>не удаётся продолжить распаковку gzip</translation>
    </message>
    <message>
        <source>decompresses to more than %1 MiB</source>
        <translation>после распаковки больше %1 МиБ</translation>
    </message>
    <message>
        <source>decompresses to more than %1 bytes</source>
        <translation>после распаковки больше %1 байт</translation>
    </message>
    <message>
        <source>has bytes after the end of its gzip data</source>
        <translation>после данных gzip есть лишние байты</translation>
    </message>
    <message>
        <source>gzip data is truncated</source>
        <translation>данные gzip обрезаны</translation>
    </message>
    <message>
        <source>gzip data is corrupt</source>
        <translation>данные gzip повреждены</translation>
    </message>
</context>
<context>
    <name>Report</name>
    <message>
        <source>none</source>
        <translation>нет</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>да</translation>
    </message>
    <message>
        <source>no</source>
        <translation>нет</translation>
    </message>
    <message>
        <source>not found</source>
        <translation>не найдена</translation>
    </message>
    <message>
        <source>%1 MHz</source>
        <translation>%1 МГц</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Нет</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>неизвестен</translation>
    </message>
    <message>
        <source>%1 %2: %3, status %4, %5</source>
        <translation>%1 %2: %3, статус %4, %5</translation>
    </message>
    <message>
        <source>valid</source>
        <translation>без ошибок</translation>
    </message>
    <message>
        <source>Fields: none differ</source>
        <translation>Поля: различий нет</translation>
    </message>
    <message>
        <source>Fields</source>
        <translation>Поля</translation>
    </message>
    <message>
        <source>Glyphs</source>
        <translation>Символы</translation>
    </message>
    <message>
        <source>not compared (a font is not located)</source>
        <translation>не сравнивались (шрифт не найден)</translation>
    </message>
    <message>
        <source>none differ</source>
        <translation>различий нет</translation>
    </message>
    <message>
        <source>null</source>
        <translation>нулевой символ</translation>
    </message>
    <message>
        <source>space</source>
        <translation>пробел</translation>
    </message>
    <message>
        <source>no-break space</source>
        <translation>неразрывный пробел</translation>
    </message>
    <message>
        <source>Bytes: %1 in %2</source>
        <translation>Байты: %1 в %2</translation>
    </message>
    <message>
        <source>... and %1 (%2)</source>
        <translation>... и ещё %1 (%2)</translation>
    </message>
    <message>
        <source>Identical: no byte differs</source>
        <translation>Совпадают: ни один байт не отличается</translation>
    </message>
    <message>
        <source>Differ: %1 in %2; %3; glyphs %4, %5</source>
        <translation>Различаются: %1 в %2; %3; символы: %4, %5</translation>
    </message>
    <message>
        <source>%1 in %2</source>
        <translation>%1 в %2</translation>
    </message>
    <message>
        <source>%1 not compared</source>
        <translation>%1 не сравнивались</translation>
    </message>
    <message>
        <source>ok</source>
        <translation>годится</translation>
    </message>
    <message>
        <source>ok with warnings</source>
        <translation>годится, но есть предупреждения</translation>
    </message>
    <message>
        <source>not fit</source>
        <translation>не годится</translation>
    </message>
    <message>
        <source>error</source>
        <translation>ошибка</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>предупреждение</translation>
    </message>
    <message>
        <source>more than %1</source>
        <translation>больше %1</translation>
    </message>
    <message>
        <source>the PCI vendor ID is %1, not ATI&apos;s 1002</source>
        <translation>ID вендора PCI — %1, а не 1002 (ATI)</translation>
    </message>
    <message>
        <source>the image is for device %1, not %2</source>
        <translation>образ предназначен для устройства %1, а не %2</translation>
    </message>
    <message>
        <source>the PCI data structure&apos;s code type is %1%2, not 0: not a PC image</source>
        <translation>тип кода в структуре данных PCI — %1%2, а не 0: это не образ для PC</translation>
    </message>
    <message>
        <source>the file is %1, the chip holds %2</source>
        <translation>файл занимает %1, а чип вмещает %2</translation>
    </message>
    <message>
        <source>the file is %1, more than the largest flash chip (%2)</source>
        <translation>файл занимает %1, больше самого большого чипа флеш-памяти (%2)</translation>
    </message>
    <message>
        <source>the file is %1, the image declares %2: the editor and edit save only those %3</source>
        <translation>файл занимает %1, а в заголовке образа указано %2: редактор и команда edit сохраняют только эти %3</translation>
    </message>
    <message>
        <source>another image follows this one (its PCI data structure does not mark it the last)</source>
        <translation>за этим образом следует другой (в структуре данных PCI он не отмечен как последний)</translation>
    </message>
    <message>
        <source>the file is %1, the chip holds %2: the rest of the chip is not part of the image</source>
        <translation>файл занимает %1, а чип вмещает %2: остаток чипа не входит в образ</translation>
    </message>
    <message>
        <source>older card</source>
        <translation>старая карта</translation>
    </message>
    <message>
        <source>device %1 is %2: the image is intact, but not one Vorlane can edit</source>
        <translation>устройство %1 — %2: образ цел, но Vorlane не может его править</translation>
    </message>
    <message>
        <source>a card of the Radeon 7000 to 7500 family (R100/RV100/RV200), whose clock record has another layout</source>
        <translation>карта семейства Radeon 7000–7500 (R100/RV100/RV200), у которой запись частот устроена иначе</translation>
    </message>
    <message>
        <source>a card of the Radeon 8500 to 9250 family (R200/RV250/RV280), not yet tested with Vorlane</source>
        <translation>карта семейства Radeon 8500–9250 (R200/RV250/RV280), ещё не проверенная с Vorlane</translation>
    </message>
    <message>
        <source>a Rage 128</source>
        <translation>Rage 128</translation>
    </message>
    <message>
        <source>a Mach64</source>
        <translation>Mach64</translation>
    </message>
    <message numerus="yes">
        <source>%1 bytes</source>
        <translation>
            <numerusform>%1 байт</numerusform>
            <numerusform>%1 байта</numerusform>
            <numerusform>%1 байт</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 differ</source>
        <translation>
            <numerusform>отличается %1</numerusform>
            <numerusform>отличаются %1</numerusform>
            <numerusform>отличаются %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 ranges</source>
        <translation>
            <numerusform>%1 диапазоне</numerusform>
            <numerusform>%1 диапазонах</numerusform>
            <numerusform>%1 диапазонах</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 more ranges</source>
        <translation>
            <numerusform>%1 диапазон</numerusform>
            <numerusform>%1 диапазона</numerusform>
            <numerusform>%1 диапазонов</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 fields</source>
        <translation>
            <numerusform>%1 поле</numerusform>
            <numerusform>%1 поля</numerusform>
            <numerusform>%1 полей</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Vorlane</name>
    <message>
        <source>&amp;About Vorlane_25...</source>
        <translation>&amp;О программе Vorlane_25...</translation>
    </message>
    <message>
        <source>   %1     Vorlane for Radeon 7000/9800 - Version 2.5</source>
        <translation>   %1     Vorlane для Radeon 7000/9800 - версия 2.5</translation>
    </message>
    <message>
        <source>Error N1 
 Error size of file</source>
        <translation>Ошибка N1 
 Неверный размер файла</translation>
    </message>
    <message>
        <source>Error N2 
 Bios non ATI</source>
        <translation>Ошибка N2 
 Это не BIOS ATI</translation>
    </message>
    <message>
        <source>Error N3 
 Bios non ATI</source>
        <translation>Ошибка N3 
 Это не BIOS ATI</translation>
    </message>
    <message>
        <source>Error N4 
 Bios non ATI</source>
        <translation>Ошибка N4 
 Это не BIOS ATI</translation>
    </message>
    <message>
        <source>Error N5 
 Error CLK</source>
        <translation>Ошибка N5 
 Ошибка CLK</translation>
    </message>
    <message>
        <source>Error N6 
 CheckSum Error!</source>
        <translation>Ошибка N6 
 Неверная контрольная сумма!</translation>
    </message>
    <message>
        <source>Error N7 
 Bios non ATI</source>
        <translation>Ошибка N7 
 Это не BIOS ATI</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Ошибка</translation>
    </message>
    <message>
        <source>Font Files (*.fnt)|*.fnt|All Files (*.*)|*.*|Console fonts (*.psf *.psfu *.psf.gz)|*.psf;*.psfu;*.psf.gz|VGA 8x16 fonts (*.f16)|*.f16|VGA 8x8 fonts (*.f08)|*.f08||</source>
        <translation>Файлы шрифтов (*.fnt)|*.fnt|Все файлы (*.*)|*.*|Консольные шрифты (*.psf *.psfu *.psf.gz)|*.psf;*.psfu;*.psf.gz|Шрифты VGA 8x16 (*.f16)|*.f16|Шрифты VGA 8x8 (*.f08)|*.f08||</translation>
    </message>
    <message>
        <source>Font Files (*.fnt)|*.fnt|All Files (*.*)|*.*|Console fonts (*.psf *.psfu *.psf.gz)|*.psf;*.psfu;*.psf.gz|VGA 8x16 fonts (*.f16)|*.f16|VGA 8x8 fonts (*.f08)|*.f08|PNG pictures (*.png)|*.png||</source>
        <translation>Файлы шрифтов (*.fnt)|*.fnt|Все файлы (*.*)|*.*|Консольные шрифты (*.psf *.psfu *.psf.gz)|*.psf;*.psfu;*.psf.gz|Шрифты VGA 8x16 (*.f16)|*.f16|Шрифты VGA 8x8 (*.f08)|*.f08|Рисунки PNG (*.png)|*.png||</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Нет</translation>
    </message>
    <message>
        <source>Rom Files (*.rom)|*.rom|Bin Files (*.bin)|*.bin|All Files (*.*)|*.*||</source>
        <translation>Файлы ROM (*.rom)|*.rom|Файлы BIN (*.bin)|*.bin|Все файлы (*.*)|*.*||</translation>
    </message>
    <message>
        <source>This font cannot be loaded: %1.</source>
        <translation>Этот шрифт нельзя загрузить: %1.</translation>
    </message>
    <message>
        <source>%1   %2   (code page %3)</source>
        <translation>%1   %2   (кодировка %3)</translation>
    </message>
    <message>
        <source>no Radeon 7000 to 9800 BIOS was recognised in it, so there is nothing to repair, and saving it would cut or rewrite a file that is something else</source>
        <translation>в нём не распознан BIOS Radeon 7000–9800: исправлять нечего, а сохранение обрезало бы или переписало файл, который BIOS не является</translation>
    </message>
    <message>
        <source>it holds no byte, and saving it would empty the file</source>
        <translation>в нём нет ни байта, и сохранение опустошило бы файл</translation>
    </message>
    <message>
        <source>This font cannot be loaded: a PNG picture is written, not read. Choose a .fnt, .psf, .psf.gz, .f16 or .f08 file.</source>
        <translation>Этот шрифт нельзя загрузить: рисунок PNG можно только сохранить, но не загрузить. Выберите файл .fnt, .psf, .psf.gz, .f16 или .f08.</translation>
    </message>
    <message>
        <source>This image cannot be saved: %1.</source>
        <translation>Этот образ нельзя сохранить: %1.</translation>
    </message>
    <message>
        <source>Vorlane edits the video BIOS images of Radeon 7000 to 9800 cards. It works on image files only and never touches the card.

Load Bios (Ctrl+O): open a ROM image (*.rom, *.bin) and check it. An image that fails a check is reported. One with Error N1 to N4 is no Radeon BIOS of this family and cannot be saved; one with Error N5 to N7 can.
MEM and Chip: step the memory and engine clocks with the arrows beside them or with the arrow keys.
Synch clocks: keep both clocks at the engine clock.
Standart TV: switch the TV output between NTSC and PAL.
In File Check sum OFF: tick it before loading to accept an image whose checksum is wrong.
Save Bios (Ctrl+S): write the image with a corrected checksum, to a regular file only (no device or pipe). A file that is replaced keeps its permissions.
Font and SubSys: the text-mode fonts and the PCI subsystem IDs of the image. In the font window, a double-click on a glyph opens it for editing.

Alt+Space or a right click on the window opens its menu with the About box and two reports on the image as Save Bios would write it: Compare with File (Ctrl+D) shows what differs from another image file, Check for Flashing (Ctrl+K) whether it fits a flash chip, and saves it padded to the chip&apos;s size.</source>
        <translation>Vorlane правит образы видео-BIOS карт Radeon 7000–9800. Программа работает только с файлами образов и никогда не обращается к самой карте.

Открыть (Ctrl+O): открыть образ ROM (*.rom, *.bin) и проверить его. Если образ не прошёл проверку, программа об этом скажет. Образ с ошибкой N1–N4 — не BIOS Radeon этого семейства, и сохранить его нельзя; образ с ошибкой N5–N7 сохранить можно.
Память и Ядро: частоты памяти и ядра меняются стрелками рядом с ними или клавишами со стрелками.
Синхронно: держать частоту памяти равной частоте ядра.
Стандарт ТВ: переключить ТВ-выход между NTSC и PAL.
Без проверки КС: отметьте до загрузки, чтобы открыть образ с неверной контрольной суммой.
Сохранить (Ctrl+S): записать образ с исправленной контрольной суммой, только в обычный файл (не в устройство и не в канал). Заменённый файл сохраняет свои права доступа.
Шрифт и Подсистема: шрифты текстового режима и PCI ID подсистемы в образе. В окне шрифта двойной щелчок по символу открывает его для правки.

Alt+Пробел или щелчок правой кнопкой по окну открывает его меню: окно «О программе» и два отчёта об образе в том виде, в каком его записала бы кнопка «Сохранить»: «Сравнить с файлом» (Ctrl+D) показывает отличия от другого файла образа, «Проверить перед прошивкой» (Ctrl+K) — подходит ли он для микросхемы флеш-памяти, и сохраняет его дополненным до её размера.</translation>
    </message>
    <message>
        <source>Co&amp;mpare with File...	Ctrl+D</source>
        <translation>&amp;Сравнить с файлом...	Ctrl+D</translation>
    </message>
    <message>
        <source>Chec&amp;k for Flashing...	Ctrl+K</source>
        <translation>&amp;Проверить перед прошивкой...	Ctrl+K</translation>
    </message>
    <message>
        <source>the file is %1 bytes, the chip holds %2</source>
        <translation>файл занимает %1 байт, а чип вмещает %2</translation>
    </message>
    <message>
        <source>status %1, Error N%2 - Error size of file: not a BIOS of this family</source>
        <translation>статус %1, Ошибка N%2 - Неверный размер файла: это не BIOS этого семейства</translation>
    </message>
    <message>
        <source>status %1, Error N%2 - Bios non ATI: not a BIOS of this family</source>
        <translation>статус %1, Ошибка N%2 - Это не BIOS ATI: это не BIOS этого семейства</translation>
    </message>
    <message>
        <source>The image&apos;s own size</source>
        <translation>Размер самого образа</translation>
    </message>
    <message>
        <source>Not padded: %1</source>
        <translation>Не дополнено: %1</translation>
    </message>
    <message>
        <source>%1 KiB</source>
        <translation>%1 КиБ</translation>
    </message>
</context>
</TS>
