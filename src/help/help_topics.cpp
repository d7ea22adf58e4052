#include "help/help_topics.h"

#include <algorithm>
#include <charconv>

namespace wolterix::help {
namespace {

// Page bodies. Links between pages use the same "@#" requests the dialogs send, so the help
// window follows them with the one lookup it already has.

constexpr std::string_view kOverviewPage = R"html(
<p>Wolterix to symulator obwodów elektrycznych i energoelektronicznych przeznaczony do nauki.
Schemat rysuje się na siatce z palety elementów, każdemu elementowi nadaje się parametry,
a następnie uruchamia jedną z analiz.</p>
<p>Każdy schemat powstaje w jednym z dwóch trybów, wybieranym przy tworzeniu nowego schematu
i widocznym na pasku stanu:</p>
<ul>
<li><b>symulacja czasowa</b> – przebiegi napięć, prądów, mocy i prędkości w funkcji czasu
(<a href="@#36">Symulacja</a>) oraz pomiar miernikami w czasie rzeczywistym
(<a href="@#5">Panel pomiarowy</a>);</li>
<li><b>transmitancja</b> – charakterystyki częstotliwościowe względem napięcia wejściowego
(<a href="@#37">Transmitancja</a>).</li>
</ul>
<p>Typowa praca: <a href="@#2">narysuj schemat</a>, wpisz parametry elementów (F7),
uruchom symulację (F9), wybierz <a href="@#39">przebiegi</a> (F11) i obejrzyj
<a href="@#42">wykresy</a> (F12).</p>
<p>Pomoc do każdego okna dialogowego otwiera przycisk „Pomoc” lub klawisz F1.
Odpowiedzi na częste pytania zebrano w <a href="@#8">Pytaniach i odpowiedziach</a>.</p>
)html";

constexpr std::string_view kEditorPage = R"html(
<p>Paleta obiektów wybiera <b>tryb pracy</b> edytora: tryb zaznaczania (klawisz Ins),
rysowanie przewodu, wstawianie węzła albo wstawianie elementu wybranego rodzaju.
Kliknięcie na siatce wstawia obiekt; obiekty nie mogą na siebie zachodzić.</p>
<h3>Zaznaczanie i przesuwanie</h3>
<ul>
<li>kliknięcie zaznacza obiekt, Shift+kliknięcie dodaje go do zaznaczenia,
a prostokąt rysowany myszą zaznacza wszystko, co obejmie;</li>
<li>zaznaczone obiekty przeciąga się myszą;</li>
<li>dwukrotne kliknięcie elementu otwiera okno jego parametrów.</li>
</ul>
<h3>Przewody i węzły</h3>
<p>Przewód rysuje się, przeciągając myszą od punktu do punktu siatki. Końcówka elementu
łączy się z przewodem w każdym jego punkcie, a dwa przewody – we wspólnym końcu.
Przewody, które się krzyżują, są połączone tylko wtedy, gdy w punkcie skrzyżowania stoi
<b>węzeł elektryczny</b>.</p>
<h3>Klawisze</h3>
<table border="1" cellpadding="3" cellspacing="0">
<tr><th>Klawisz</th><th>Polecenie</th></tr>
<tr><td>Tab / Shift+Tab</td><td>obróć zaznaczone elementy w lewo / w prawo</td></tr>
<tr><td>F7</td><td>parametry zaznaczonego elementu</td></tr>
<tr><td>Del</td><td>usuń zaznaczone obiekty</td></tr>
<tr><td>Ctrl+Z</td><td>cofnij ostatnią zmianę schematu (do 200 kroków wstecz); menu Edycja
podaje, co zostanie cofnięte</td></tr>
<tr><td>Ctrl+Y / Ctrl+Shift+Z</td><td>ponów cofniętą zmianę</td></tr>
<tr><td>Ctrl+X / Ctrl+C / Ctrl+V</td><td>wytnij / kopiuj / wklej</td></tr>
<tr><td>Ctrl+A</td><td>zaznacz wszystko</td></tr>
<tr><td>strzałki</td><td>przesuń zaznaczone obiekty o jedno pole siatki</td></tr>
<tr><td>kółko myszy / Shift+kółko</td><td>przewiń arkusz w pionie / w poziomie</td></tr>
<tr><td>Ctrl+kółko</td><td>powiększ albo pomniejsz wokół wskaźnika myszy</td></tr>
<tr><td>środkowy przycisk myszy</td><td>przeciągnij arkusz</td></tr>
<tr><td>F9</td><td>symulacja albo transmitancja</td></tr>
<tr><td>F11</td><td>wybór przebiegów</td></tr>
<tr><td>F12</td><td>wykresy</td></tr>
<tr><td>F8</td><td>pomiar (Real-Time)</td></tr>
<tr><td>Ctrl+D</td><td><a href="@#43">drukuj schemat</a></td></tr>
<tr><td>F1</td><td>pomoc</td></tr>
</table>
<p>Wklejać można tylko do schematu tego samego trybu, z którego skopiowano obiekty.
Plik .wtx upuszczony na okno programu otwiera się jak poleceniem Otwórz.</p>
)html";

constexpr std::string_view kPrintPage = R"html(
<p>Okno „Drukuj” otwiera polecenie <b>Drukuj schemat</b> (Ctrl+D), polecenie
<b>Eksportuj do PDF...</b> oraz drukowanie z okna <a href="@#42">Wykresy</a>.</p>
<h3>Miniatura strony</h3>
<p>Biały prostokąt po lewej to miniatura drukowanej strony. <b>Zielona ramka</b> pokazuje,
gdzie wypadnie schemat, a <b>czerwona ramka</b> – gdzie wypadnie wykres (tylko przy
drukowaniu z okna „Wykresy”). Ramka schematu obejmuje wszystko, co zostanie wydrukowane:
symbole z końcówkami, pokazane nazwy i strzałki. Co mieści się w miniaturze w całości,
mieści się też na papierze; ramka wystająca poza stronę oznacza obcięty wydruk.</p>
<h3>Przesuwanie i skala</h3>
<p>Strzałki na zakładce „Schemat” przesuwają ramkę schematu po stronie, a przyciski
+ i − powiększają i zmniejszają wydruk. Pod przyciskami widać bieżącą skalę, jej zakres
oraz krok siatki na papierze w milimetrach. Ramka nie wyjdzie strzałkami poza stronę;
gdy nie da się jej przesunąć dalej, a schemat wciąż się nie mieści, zmniejsz skalę.</p>
<p>Zakładka „Wykres” robi to samo z ramką wykresu: wykres można zmniejszyć pięć razy
o jedną dziesiątą, do połowy pełnej wielkości. Pola „Schemat” i „Wykres” z kolorowymi
znacznikami ramek wybierają, co ma się znaleźć na stronie. Zakładka „Wykres” i oba pola
pojawiają się tylko przy drukowaniu z okna „Wykresy”.</p>
<h3>Orientacja pozioma</h3>
<p>Orientację strony i drukarkę wybiera się przyciskiem „Ustawienia”. Przy orientacji
poziomej miniatura nadal stoi pionowo i pokazuje stronę obróconą o ćwierć obrotu:
górna krawędź kartki leży po prawej stronie miniatury. Ramki są wtedy obrócone razem
ze stroną, a strzałki przesuwają je po miniaturze tak, jak je widać.</p>
<h3>Eksport do PDF</h3>
<p>Polecenie <b>Eksportuj do PDF...</b> z menu „Plik” pyta o nazwę pliku, a potem otwiera
to samo okno „Drukuj” dla strony A4. Po naciśnięciu „OK” strona trafia do pliku PDF
zamiast na drukarkę, dokładnie tak, jak pokazuje miniatura. Okno „Wykresy” ma własne
polecenie <b>Eksportuj do PDF...</b>, które zapisuje wykres, a na życzenie także schemat.</p>
<p>Na wydruku schematu nie ma kropek siatki. Linie schematu, osie i przebiegi wykresu mają
grubość około 0,3 mm bez względu na rozdzielczość drukarki, a linie siatki wykresu – połowę
tego.</p>
)html";

constexpr std::string_view kNumbersPage = R"html(
<p>Każdą wartość liczbową wpisuje się jako <b>liczbę inżynierską</b>: liczbę z przecinkiem
dziesiętnym, po której może stać litera mnożnika.</p>
<table border="1" cellpadding="3" cellspacing="0">
<tr><th>Litera</th><th>p</th><th>n</th><th>u</th><th>m</th><th>k</th><th>M</th><th>G</th><th>T</th></tr>
<tr><th>Mnożnik</th><td>10<sup>−12</sup></td><td>10<sup>−9</sup></td><td>10<sup>−6</sup></td>
<td>10<sup>−3</sup></td><td>10<sup>3</sup></td><td>10<sup>6</sup></td><td>10<sup>9</sup></td>
<td>10<sup>12</sup></td></tr>
</table>
<p>Przykłady: „4,7u” to 4,7 µF, „10k” to 10 000, „1,5” to półtorej jednostki.</p>
<p><b>Uwaga na wielkość liter:</b> „m” oznacza mili (10<sup>−3</sup>), a „M” mega
(10<sup>6</sup>). Rezystancja „1m” to jeden miliom, „1M” – jeden megaom.</p>
<p>Jednostki nie wpisuje się – stoi ona obok pola. Niepoprawny tekst zgłaszany jest
komunikatem „Niewłaściwa wartość liczbowa”, a pole wraca z wartością domyślną.</p>
)html";

constexpr std::string_view kAnalysesPage = R"html(
<h3>Symulacja czasowa</h3>
<p>Obwód opisują równania potencjałów węzłowych rozwiązywane ze <b>stałym krokiem</b>
h = T / (2<sup>k</sup>·N), gdzie T to czas symulacji, k – ilość iteracji (0..6),
a N – liczba próbek (tyle, ile kolumn pikseli ma wykres na pełnym ekranie).
Cewki i kondensatory zastępuje się w każdym kroku schematem zastępczym metody
<b>wstecznej Eulera</b>: konduktancją i źródłem prądu.</p>
<p>Diody, tyrystory, tranzystory i łączniki są modelowane odcinkowo liniowo: przewodzą
(mała rezystancja) albo nie przewodzą (mała konduktancja). Gdy po rozwiązaniu któryś
z nich zmienia stan, krok oblicza się ponownie, najwyżej sześć razy.</p>
<p>Mniejszy krok to dokładniejsze przebiegi i pewniejsze przełączenia, kosztem czasu
obliczeń.</p>
<h3>Transmitancja</h3>
<p>Napięcie wejściowe zasila obwód napięciem sinusoidalnym 1 V. W stanie ustalonym,
dla częstotliwości rozłożonych logarytmicznie w zadanym zakresie, liczone są zespolone
napięcia wszystkich elementów. Napięcie elementu jest więc wprost jego transmitancją K:
wykres pokazuje <b>moduł w dB</b> (20·log|K|) i <b>kąt fazowy</b> w stopniach.</p>
<p>W tej analizie biorą udział tylko rezystancje, indukcyjności, pojemności, woltomierze
i napięcie wejściowe; pozostałe elementy są przerwami.</p>
)html";

constexpr std::string_view kMeasurementPanelPage = R"html(
<p>Panel pomiarowy (menu Pomiar, „Otwórz panel pomiarowy”) pokazuje do sześciu mierników
dołączonych do elementów schematu. Miernik dodaje się dla zaznaczonego elementu:
„Dodaj woltomierz” (Ctrl+U), „Dodaj amperomierz” (Ctrl+I), „Dodaj watomierz” (Ctrl+P).</p>
<p>Pomiar (F8) symuluje obwód okres po okresie z zadaną częstotliwością; po każdym okresie
mierniki pokazują wartość za ten okres, więc wskazania ustalają się jak w prawdziwych
przyrządach. Przycisk „Stop” kończy pomiar po bieżącym okresie, „Kontynuuj” wznawia go
od stanu, w którym się zakończył.</p>
<ul>
<li>TRMS – prawdziwa wartość skuteczna,</li>
<li>~ AV – wartość średnia prostowana,</li>
<li>== – wartość średnia (składowa stała).</li>
</ul>
<p>Zakres i rodzaj wskazania ustawia okno <a href="@#40">Opcje miernika</a>.</p>
)html";

constexpr std::string_view kFileFormatPage = R"html(
<p>Schemat zapisuje się w pliku tekstowym z rozszerzeniem <b>.wtx</b>, w polskiej stronie
kodowej Windows (1250). Każdy obiekt zajmuje jeden wiersz:</p>
<ul>
<li>„E:” – element z nazwą, położeniem, orientacją i wszystkimi parametrami,</li>
<li>„L:” – przewód (dwa punkty siatki),</li>
<li>„W:” – węzeł elektryczny.</li>
</ul>
<p>Schemat trybu transmitancji ma w pierwszym wierszu tekst <b>**Transmitancja**</b>.</p>
<p>Ustawienia analiz i wybór przebiegów nie są zapisywane w pliku. Ten sam tekst służy
schowkowi edytora i historii cofania usunięć.</p>
<p><b>Kopie odzyskiwania.</b> Dopóki schemat ma niezapisane zmiany, program co minutę (przy
wielu zmianach częściej, ale nie częściej niż co 5 sekund) zapisuje jego kopię w folderze
„Wolterix-odzysk” obok swoich ustawień; plik użytkownika pozostaje nietknięty. Zapisanie
schematu, polecenia „Nowy” i „Otwórz” oraz zwykłe zamknięcie okna usuwają kopię. Jeśli
program zakończył się awarią, przy następnym uruchomieniu pyta o każdą pozostawioną kopię:
„Odzyskaj” otwiera ją jako niezapisany schemat pod dawną nazwą (polecenie „Zapisz” zapisze go
do pierwotnego pliku), „Odrzuć” usuwa kopię, a „Później” zostawia ją do następnego
uruchomienia.</p>
)html";

constexpr std::string_view kCommandLinePage = R"html(
<p>Program <b>wolterix-cli</b> pracuje na plikach schematów bez okna:</p>
<table border="1" cellpadding="3" cellspacing="0">
<tr><th>Polecenie</th><th>Działanie</th></tr>
<tr><td>list PLIK.wtx</td><td>elementy z parametrami, liczba przewodów i węzłów</td></tr>
<tr><td>topology PLIK.wtx</td><td>numery węzłów końcówek każdego elementu</td></tr>
<tr><td>simulate PLIK.wtx --time 20m</td><td>symulacja czasowa; wynik CSV: kolumna t,
potem po jednej kolumnie na przebieg</td></tr>
<tr><td>simulate PLIK.wtx --from 10 --to 100k</td><td>transmitancja; dla każdego K(...)
kolumny .re, .im, .dB i .deg</td></tr>
<tr><td>render PLIK.wtx --svg schemat.svg</td><td>rysunek schematu do pliku SVG, tak jak
na wydruku</td></tr>
</table>
<p>Opcje symulacji: --iterations k (0..6), --samples N, --waves "U(R1),I(L1)" oraz
--out plik.csv. Pełny opis daje <tt>wolterix-cli --help</tt>.</p>
<p>Kody wyjścia: 0 sukces, 1 błąd wywołania lub pliku, 2 błędy sprawdzenia schematu,
3 niepołączony element lub grupa elementów, 4 fatalny błąd symulacji.</p>
)html";

constexpr std::string_view kQuestionsPage = R"html(
<h3>Dlaczego pojawia się „[1] Niepołączony element lub grupa elementów.”?</h3>
<p>Jakiś węzeł obwodu nie ma drogi do reszty schematu, więc jego potencjału nie da się
wyznaczyć. Najczęściej: element lub grupa elementów „wisi” w powietrzu, przewód kończy się
obok końcówki zamiast na niej, skrzyżowanie przewodów nie ma węzła albo schemat transmitancji
zawiera tylko napięcie wejściowe. Sprawdź połączenia poleceniem Topologia (Ctrl+T).</p>
<h3>Co znaczy „Brak parametrów”?</h3>
<p>Wymieniony element ma pole ze znakiem „?”, czyli wartość, której nikt nie wpisał.
Otwórz jego parametry (F7) i uzupełnij je.</p>
<h3>Dlaczego wyniki zależą od ilości iteracji?</h3>
<p>Krok obliczeń jest stały: h = T / (2<sup>k</sup>·N). Zbyt duży krok zniekształca
szybkie przebiegi i przesuwa chwile przełączeń diod i tyrystorów. Jeśli przebieg wygląda
podejrzanie, zwiększ ilość iteracji albo skróć czas symulacji.</p>
<h3>Dlaczego „Niedozwolone bezpośrednie zwarcie końcówek”?</h3>
<p>Obie końcówki elementu leżą w tym samym węźle, na przykład zwiera je przewód.</p>
<h3>Dlaczego „m” i „M” dają tak różne wyniki?</h3>
<p>„m” to mili, „M” to mega – zobacz <a href="@#3">Liczby inżynierskie</a>.</p>
)html";

constexpr std::string_view kAnalysesGroupPage = R"html(
<p>Obliczenia i oglądanie ich wyników:</p>
<ul>
<li><a href="@#4">Metody obliczeń</a></li>
<li><a href="@#36">Symulacja</a> (F9 w trybie symulacji czasowej)</li>
<li><a href="@#37">Transmitancja</a> (F9 w trybie transmitancji)</li>
<li><a href="@#39">Przebiegi</a> (F11)</li>
<li><a href="@#42">Wykresy</a> (F12)</li>
</ul>
)html";

constexpr std::string_view kMeasurementGroupPage = R"html(
<p>Pomiar w czasie rzeczywistym miernikami na panelu:</p>
<ul>
<li><a href="@#5">Panel pomiarowy</a></li>
<li><a href="@#38">Pomiar (Real-Time)</a> (F8)</li>
<li><a href="@#40">Opcje miernika</a></li>
</ul>
)html";

constexpr std::string_view kElementsGroupPage = R"html(
<p>Każdy element ma okno parametrów (dwukrotne kliknięcie albo F7). Pole ze znakiem „?”
trzeba wypełnić przed symulacją. Wartości wpisuje się jako
<a href="@#3">liczby inżynierskie</a>.</p>
<ul>
<li><a href="@#13">Źródła</a></li>
<li><a href="@#14">Elementy bierne</a></li>
<li><a href="@#15">Półprzewodniki i łączniki</a></li>
<li><a href="@#16">Maszyny i elementy magnetyczne</a></li>
<li><a href="@#17">Mierniki</a></li>
</ul>
)html";

constexpr std::string_view kSourcesGroupPage = R"html(
<p>Źródła niezależne (napięcia i prądu), źródła sterowane inną wielkością obwodu oraz
napięcie wejściowe analizy transmitancji.</p>
)html";

constexpr std::string_view kPassiveGroupPage = R"html(
<p>Rezystancja, indukcyjność i pojemność oraz elementy nieliniowe: warystor, indukcyjność
i pojemność nieliniowa.</p>
)html";

constexpr std::string_view kSwitchingGroupPage = R"html(
<p>Diody, tyrystory, tranzystory i wyłącznik. Elementy przełączające mają dwa stany:
przewodzenia (rezystancja Rf lub Rt) i zaworowy (konduktancja Gd). Zero wpisane jako
rezystancja oznacza 0,1 mΩ, a jako konduktancja – 1 µS.</p>
)html";

constexpr std::string_view kMachinesGroupPage = R"html(
<p>Cewki sprzężone magnetycznie, transformator jednofazowy i obcowzbudny silnik prądu
stałego.</p>
)html";

constexpr std::string_view kMetersGroupPage = R"html(
<p>Mierniki nie zmieniają obwodu (woltomierz ma konduktancję 1 nS, amperomierz
rezystancję 1 µΩ) i mają tylko nazwę. Określają, jakie przebiegi można wybrać.</p>
)html";

constexpr std::string_view kSimulationPage = R"html(
<p>Okno „Symulacja” uruchamia symulację czasową.</p>
<table border="1" cellpadding="3" cellspacing="0">
<tr><th>Pole</th><th>Znaczenie</th></tr>
<tr><td>Czas symulacji [s]</td><td>czas T, np. „20m”; musi być większy od zera</td></tr>
<tr><td>Ilość iteracji</td><td>k = 0..6: 2<sup>k</sup> kroków obliczeń na jedną próbkę
wykresu; obok widać łączną liczbę kroków</td></tr>
</table>
<p>Krok obliczeń wynosi h = T / (2<sup>k</sup>·N), gdzie N to liczba próbek wykresu.</p>
<ul>
<li><b>Start</b> – symulacja od chwili 0, od warunków początkowych elementów;</li>
<li><b>Kontynuuj</b> – dalszy ciąg ostatniej symulacji od chwili, w której się skończyła,
ze stanami elementów (prądy cewek, stany tyrystorów, prędkość silnika); możliwe tylko,
gdy schemat się od tego czasu nie zmienił.</li>
</ul>
<p>Błędy (brak parametrów, zwarte końcówki, niepołączone elementy) pokazuje okno „Błąd”.
Zobacz też <a href="@#4">Metody obliczeń</a>.</p>
<p><b>Przewijanie</b> (F6, menu Symulacja) pokazuje na schemacie obwód w jednej chwili
ostatniej symulacji: przewodzące diody, tyrystory i łączniki oraz elementy i przewody,
którymi płynie prąd, są podłożone pomarańczowym pasem. Pasek pod schematem przesuwa chwilę:
Ctrl+← / Ctrl+→ o jedną próbkę, Ctrl+Shift+← / Ctrl+Shift+→ o jeden okres (częstotliwości
podstawowej proponowanej w oknie <a href="@#44">Harmoniczne</a>, bez niej o 1/20 symulacji),
Ctrl+F6 odtwarza przebieg zwolniony 1:10, 1:100 albo 1:1000 razy i zatrzymuje go. Kursor
w oknie <a href="@#42">Wykresy</a> i przewijanie podążają za sobą. Zmiana schematu kończy przewijanie; nowa symulacja zaczyna je
od chwili 0. <b>Wartości chwilowe</b> (Ctrl+W) wypisują obok elementów ich napięcie i prąd
w tej chwili.</p>
)html";

constexpr std::string_view kTransferPage = R"html(
<p>Okno „Transmitancja” uruchamia analizę częstotliwościową schematu trybu transmitancji.</p>
<table border="1" cellpadding="3" cellspacing="0">
<tr><th>Pole</th><th>Jednostka</th><th>Warunek</th></tr>
<tr><td>od</td><td>Hz</td><td>częstotliwość początkowa, większa od zera</td></tr>
<tr><td>do</td><td>Hz</td><td>częstotliwość końcowa, większa od początkowej</td></tr>
</table>
<p>Częstotliwości są rozłożone logarytmicznie. Schemat musi zawierać
<a href="@#50">napięcie wejściowe</a>: podaje ono 1 V, więc napięcie każdego elementu jest
jego transmitancją K. Wynik ogląda się jako przebiegi K(nazwa) w oknie
<a href="@#42">Wykresy</a>.</p>
)html";

constexpr std::string_view kMeasurementPage = R"html(
<p>Okno „Pomiar (Real-Time)” uruchamia pomiar miernikami z
<a href="@#5">panelu pomiarowego</a>.</p>
<table border="1" cellpadding="3" cellspacing="0">
<tr><th>Pole</th><th>Znaczenie</th></tr>
<tr><td>Częstotliwość [Hz]</td><td>częstotliwość cyklu pomiarowego – zwykle częstotliwość
źródeł, np. 50</td></tr>
<tr><td>Ilość cykli</td><td>ile okresów trwa pomiar; 25 cykli przy 50 Hz to 500 ms</td></tr>
<tr><td>Ilość iteracji</td><td>0..6: gęstość kroków obliczeń w jednym cyklu</td></tr>
</table>
<p>Po każdym cyklu mierniki pokazują nowe wskazania. Pomiar przerywa przycisk „Stop”.</p>
)html";

constexpr std::string_view kWaveformsPage = R"html(
<p>Okno „Przebiegi” wybiera do <b>sześciu</b> przebiegów pokazywanych na wykresie.
Lista po lewej zawiera przebiegi elementów ostatnio obliczonego schematu:</p>
<table border="1" cellpadding="3" cellspacing="0">
<tr><th>Nazwa</th><th>Wielkość</th></tr>
<tr><td>U(R1)</td><td>napięcie elementu, zgodnie ze strzałką napięcia</td></tr>
<tr><td>I(R1)</td><td>prąd elementu, zgodnie ze strzałką prądu</td></tr>
<tr><td>P(R1)</td><td>moc chwilowa elementu</td></tr>
<tr><td>n(S1)</td><td>prędkość obrotowa silnika [obr/min]</td></tr>
<tr><td>K(R1)</td><td>transmitancja (tylko w trybie transmitancji)</td></tr>
</table>
<p>Przycisk ze strzałką wpisuje zaznaczoną nazwę do pola przebiegu; dwukrotne kliknięcie
pola opróżnia je. Kolory pól odpowiadają kolorom na wykresie.</p>
<p>Zakładka „Skala...” ustala stałe skale napięcia, prądu, mocy i prędkości (domyślnie
skala automatyczna). W trybie transmitancji zakładka „Rodzaj / Skala” wybiera moduł, kąt
albo transmitancję zespoloną oraz skalę w dB.</p>
)html";

constexpr std::string_view kMeterOptionsPage = R"html(
<table border="1" cellpadding="3" cellspacing="0">
<tr><th>Ustawienie</th><th>Znaczenie</th></tr>
<tr><td>Zakres</td><td>zakres wskazań od 1000 G do 1000 u jednostki; „Automatyczny”
dobiera go sam. Współczynniki i procenty nie mają zakresu: zawsze cztery cyfry bez
przedrostka</td></tr>
<tr><td>Rodzaj pomiaru</td><td>co miernik wskazuje – zależnie od wielkości mierzonej
(poniżej)</td></tr>
<tr><td>Wielkość mierzona</td><td>napięcie, prąd lub moc elementu</td></tr>
</table>
<p>Każde wskazanie jest liczone z próbek jednego cyklu pomiarowego, czyli jednego okresu
częstotliwości pomiaru, i odświeżane po każdym cyklu.</p>
<p><b>Napięcie i prąd</b> (x – przebieg w cyklu):</p>
<table border="1" cellpadding="3" cellspacing="0">
<tr><th>Wskazanie</th><th>Na mierniku</th><th>Znaczenie</th></tr>
<tr><td>Prawdziwa wartość skuteczna</td><td>TRMS</td><td>√(średnia x²)</td></tr>
<tr><td>Wartość średnia prostowana</td><td>AV</td><td>średnia |x|</td></tr>
<tr><td>Wartość średnia DC</td><td>DC</td><td>średnia x</td></tr>
<tr><td>Wartość szczytowa</td><td>PEAK</td><td>największa wartość |x|</td></tr>
<tr><td>Wartość międzyszczytowa</td><td>P-P</td><td>największa minus najmniejsza wartość x</td></tr>
<tr><td>Wartość skuteczna harmonicznej podstawowej</td><td>H1</td><td>wartość skuteczna
pierwszej harmonicznej, o częstotliwości pomiaru</td></tr>
<tr><td>THD</td><td>THD [%]</td><td>√(suma kwadratów wartości skutecznych harmonicznych 2…40)
podzielony przez wartość skuteczną podstawowej</td></tr>
<tr><td>Współczynnik szczytu</td><td>CF</td><td>wartość szczytowa / TRMS (sinusoida: √2)</td></tr>
<tr><td>Współczynnik kształtu</td><td>FF</td><td>TRMS / AV (sinusoida: 1,111)</td></tr>
<tr><td>Współczynnik tętnień</td><td>RF</td><td>wartość skuteczna składowej zmiennej /
|wartość średnia DC|</td></tr>
</table>
<p><b>Moc</b> (u, i – napięcie i prąd elementu, dodatnia moc pobierana przez element;
źródło oddające moc pokazuje P, Q<sub>1</sub>, λ i cos φ<sub>1</sub> ujemne):</p>
<table border="1" cellpadding="3" cellspacing="0">
<tr><th>Wskazanie</th><th>Na mierniku</th><th>Znaczenie</th></tr>
<tr><td>Moc czynna P</td><td>DC [W]</td><td>średnia u·i</td></tr>
<tr><td>Moc pozorna S</td><td>S [VA]</td><td>U<sub>TRMS</sub>·I<sub>TRMS</sub></td></tr>
<tr><td>Moc bierna Q<sub>1</sub></td><td>Q1 [var]</td><td>U<sub>1</sub>·I<sub>1</sub>·sin
φ<sub>1</sub> – tylko harmoniczne podstawowe (bez mocy odkształcenia)</td></tr>
<tr><td>Współczynnik mocy λ</td><td>PF</td><td>P / S</td></tr>
<tr><td>Współczynnik przesunięcia</td><td>cosφ1</td><td>cos φ<sub>1</sub>, kąt między
podstawowymi harmonicznymi napięcia i prądu</td></tr>
</table>
<p>Dla przebiegów sinusoidalnych λ = cos φ<sub>1</sub>; prąd odkształcony (np. prostownika)
daje λ mniejsze od cos φ<sub>1</sub>. Wskazanie „----” oznacza współczynnik bez wartości
(np. THD przebiegu bez składowej podstawowej).</p>
<p>Wartość skuteczna sinusoidy o amplitudzie U<sub>m</sub> to U<sub>m</sub>/√2,
a średnia prostowana 2·U<sub>m</sub>/π.</p>
)html";

constexpr std::string_view kPlotsPage = R"html(
<p>Okno „Wykresy” pokazuje przebiegi wybrane w oknie <a href="@#39">Przebiegi</a>:
przebiegi czasowe po symulacji albo charakterystyki częstotliwościowe po analizie
transmitancji. Pasek u góry podaje nazwy przebiegów w ich kolorach.</p>
<table border="1" cellpadding="3" cellspacing="0">
<tr><th>Klawisz</th><th>Polecenie</th></tr>
<tr><td>F12</td><td>powrót do schematu</td></tr>
<tr><td>F11</td><td>przebiegi</td></tr>
<tr><td>F9</td><td>nowa symulacja</td></tr>
<tr><td>F10</td><td>kontynuuj symulację</td></tr>
<tr><td>F6</td><td>opis osi pionowej (dwie wielkości)</td></tr>
<tr><td>F7</td><td><a href="@#44">harmoniczne</a> przebiegu czasowego</td></tr>
<tr><td>F4</td><td>kolor tła</td></tr>
<tr><td>Ctrl+2 / Ctrl+1 / Ctrl+0</td><td>siatka wyraźna / delikatna / brak</td></tr>
<tr><td>Ctrl+P</td><td>przewodzenie: pod wykresem czasowym pasek każdego elementu
przełączającego, zaznaczony tam, gdzie element przewodzi (jaśniej: przebicie diody Zenera)</td></tr>
<tr><td>Ctrl+D</td><td><a href="@#43">drukuj</a></td></tr>
</table>
<p>Skala automatyczna zaokrągla największą wartość w górę do ciągu 1–2–5.</p>
)html";

constexpr std::string_view kHarmonicsPage = R"html(
<p>Okno „Harmoniczne” (F7 w oknie <a href="@#42">Wykresy</a>) rozkłada jeden przebieg
czasowy na składową stałą i harmoniczne częstotliwości podstawowej f. Przebieg wybiera się
z listy u góry; częstotliwość podstawową program proponuje według pierwszego źródła
sinusoidalnego schematu, bez niego według pierwszego innego źródła okresowego (prostokątnego,
trójkątnego, piłokształtnego), a bez tego według częstotliwości pierwszego tyrystora, GTO
lub tranzystora mocy (np. czopera); gdy i tego nie ma, 50 Hz albo, dla krótszej symulacji,
cały przebieg jako jeden okres. Można ją wpisać jako <a href="@#3">liczbę inżynierską</a>, np. 50 albo 1k.</p>
<p><b>Okres analizy.</b> Analizowane są ostatnie pełne okresy przebiegu – początek symulacji,
w którym układ dopiero się ustala, odpada. Podsumowanie podaje, ile okresów i jaki przedział
czasu wzięto. Przebieg krótszy niż jeden okres nie może być analizowany.</p>
<p><b>Faza.</b> Harmoniczna rzędu h ma postać A<sub>h</sub>·sin(h·2πf·t + φ<sub>h</sub>),
gdzie t to czas symulacji – tak jak źródła sinusoidalne, więc faza źródła odczytuje się
jako φ<sub>1</sub>. Tabela podaje wartości skuteczne A<sub>h</sub>/√2.</p>
<p><b>THD.</b> Współczynnik zniekształceń harmonicznych podaje się na dwa sposoby:</p>
<ul>
<li>THD<sub>F</sub> – względem podstawowej: √(U<sub>2</sub>² + U<sub>3</sub>² + …) /
U<sub>1</sub>; dla prostokąta około 48 %;</li>
<li>THD<sub>R</sub> – względem wartości skutecznej całego przebiegu: √(U<sub>2</sub>² +
U<sub>3</sub>² + …) / U; nigdy nie przekracza 100 %.</li>
</ul>
<p>Obie sumy obejmują tylko obliczone rzędy (pole „Liczba harmonicznych”, domyślnie 40,
najwyżej 100).</p>
<p><b>Granica próbkowania.</b> Okres zawiera skończoną liczbę próbek; rząd równy połowie
tej liczby jest ostatnim, który próbki mogą pokazać, a jego amplituda i faza zależą od
położenia próbek – taki słupek jest zakreskowany, a wiersz tabeli oznaczony gwiazdką.
Wyższych rzędów nie oblicza się; podsumowanie mówi wtedy, ile harmonicznych policzono.
Więcej rzędów daje większa liczba próbek albo krótszy czas symulacji.</p>
<table border="1" cellpadding="3" cellspacing="0">
<tr><th>Polecenie</th><th>Działanie</th></tr>
<tr><td>Procent podstawowej / Wartości bezwzględne</td><td>wysokość słupków w procentach
wartości skutecznej podstawowej albo jako wartość skuteczna w jednostce przebiegu</td></tr>
<tr><td>Skala liniowa / Skala logarytmiczna</td><td>oś pionowa liniowa albo w dekadach
(cztery dekady, np. od 0,01 % do 100 %), w której widać małe harmoniczne</td></tr>
<tr><td>Kopiuj tabelę (Ctrl+C)</td><td>tabela z nagłówkiem do schowka, kolumny
rozdzielone tabulatorem – do wklejenia do arkusza</td></tr>
<tr><td>Eksportuj dane (CSV)...</td><td>rząd, częstotliwość, amplituda, wartość skuteczna,
procent i faza każdej harmonicznej oraz wiersze DC, THD i wartości skutecznej</td></tr>
<tr><td>Drukuj... (Ctrl+D), Eksportuj do PDF...</td><td>wykres słupkowy, jak
<a href="@#43">drukowanie</a> wykresu</td></tr>
<tr><td>Pomoc (F1), Zamknij (Esc)</td><td>ta strona; zamknięcie okna</td></tr>
</table>
)html";

constexpr std::string_view kVoltageSourcePage = R"html(
<p>Idealne źródło napięcia E z rezystancją wewnętrzną Rw połączoną szeregowo.</p>
<table border="1" cellpadding="3" cellspacing="0">
<tr><th>Parametr</th><th>Jednostka</th><th>Warunek</th><th>Znaczenie</th></tr>
<tr><td>E</td><td>V</td><td>E &gt; 0</td><td>wartość stała, skuteczna (sinusoida) albo
amplituda</td></tr>
<tr><td>Rw</td><td>Ω</td><td>Rw ≥ 0</td><td>rezystancja wewnętrzna; 0 liczy się jako
0,1 mΩ</td></tr>
<tr><td>f</td><td>Hz</td><td>f &gt; 0</td><td>częstotliwość (nie dla źródła stałego)</td></tr>
<tr><td>faza</td><td>°</td><td>dowolna</td><td>przesunięcie fazowe</td></tr>
</table>
<p>Rodzaj: stałe, sinusoidalne (E to wartość skuteczna, szczyt √2·E), prostokątne
(E przez pół okresu, potem 0), trójkątne i piłokształtne (od −E do E).</p>
<p>W analizie transmitancji źródło jest przerwą.</p>
)html";

constexpr std::string_view kCurrentSourcePage = R"html(
<p>Idealne źródło prądu J z konduktancją wewnętrzną Gw połączoną równolegle.</p>
<table border="1" cellpadding="3" cellspacing="0">
<tr><th>Parametr</th><th>Jednostka</th><th>Warunek</th><th>Znaczenie</th></tr>
<tr><td>J</td><td>A</td><td>J &gt; 0</td><td>wartość stała, skuteczna (sinusoida) albo
amplituda</td></tr>
<tr><td>Gw</td><td>S</td><td>Gw ≥ 0</td><td>konduktancja wewnętrzna; 0 liczy się jako
1 pS</td></tr>
<tr><td>f</td><td>Hz</td><td>f &gt; 0</td><td>częstotliwość (nie dla źródła stałego)</td></tr>
<tr><td>faza</td><td>°</td><td>dowolna</td><td>przesunięcie fazowe</td></tr>
</table>
<p>Rodzaje przebiegu są takie same jak dla <a href="@#46">źródła napięcia</a>.</p>
)html";

constexpr std::string_view kControlledVoltagePage = R"html(
<p>Źródło napięcia E = k·X, gdzie X to wielkość innego elementu: napięcie U(…),
prąd I(…) lub prędkość silnika n(…).</p>
<table border="1" cellpadding="3" cellspacing="0">
<tr><th>Parametr</th><th>Jednostka</th><th>Warunek</th><th>Znaczenie</th></tr>
<tr><td>X</td><td>–</td><td>z listy</td><td>wielkość sterująca, np. U(R1)</td></tr>
<tr><td>k</td><td>–</td><td>k ≠ 0</td><td>współczynnik (może być ujemny)</td></tr>
<tr><td>Rw</td><td>Ω</td><td>Rw ≥ 0</td><td>rezystancja wewnętrzna; 0 liczy się jako
0,1 mΩ</td></tr>
</table>
<p>Źródło używa wartości X z poprzedniego kroku obliczeń.</p>
)html";

constexpr std::string_view kControlledCurrentPage = R"html(
<p>Źródło prądu J = k·X, gdzie X to wielkość innego elementu: napięcie U(…),
prąd I(…) lub prędkość silnika n(…).</p>
<table border="1" cellpadding="3" cellspacing="0">
<tr><th>Parametr</th><th>Jednostka</th><th>Warunek</th><th>Znaczenie</th></tr>
<tr><td>X</td><td>–</td><td>z listy</td><td>wielkość sterująca, np. I(L1)</td></tr>
<tr><td>k</td><td>–</td><td>k ≠ 0</td><td>współczynnik (może być ujemny)</td></tr>
<tr><td>Gw</td><td>S</td><td>Gw ≥ 0</td><td>konduktancja wewnętrzna; 0 liczy się jako
1 pS</td></tr>
</table>
<p>Źródło używa wartości X z poprzedniego kroku obliczeń.</p>
)html";

constexpr std::string_view kInputVoltagePage = R"html(
<p>Wejście analizy <a href="@#37">transmitancji</a>: źródło napięcia sinusoidalnego 1 V
za rezystancją 0,1 mΩ. Dostępne tylko w schemacie trybu transmitancji; umieszcza się je
w schemacie raz, na wejściu badanego układu.</p>
<table border="1" cellpadding="3" cellspacing="0">
<tr><th>Parametr</th><th>Jednostka</th><th>Warunek</th><th>Znaczenie</th></tr>
<tr><td>Poziom</td><td>dB</td><td>dowolny</td><td>poziom opisowy wejścia</td></tr>
</table>
<p>Samo napięcie wejściowe bez innych elementów nie tworzy obwodu.</p>
)html";

constexpr std::string_view kResistancePage = R"html(
<p>Rezystor liniowy: u = R·i.</p>
<table border="1" cellpadding="3" cellspacing="0">
<tr><th>Parametr</th><th>Jednostka</th><th>Warunek</th><th>Znaczenie</th></tr>
<tr><td>R</td><td>Ω</td><td>R &gt; 0</td><td>rezystancja</td></tr>
</table>
<p>Przykład: „4,7k” to 4 700 Ω, „1M” to 1 MΩ, a „1m” to 1 mΩ.</p>
)html";

constexpr std::string_view kInductancePage = R"html(
<p>Cewka liniowa: u = L·di/dt.</p>
<table border="1" cellpadding="3" cellspacing="0">
<tr><th>Parametr</th><th>Jednostka</th><th>Warunek</th><th>Znaczenie</th></tr>
<tr><td>L</td><td>H</td><td>L &gt; 0</td><td>indukcyjność</td></tr>
<tr><td>I(t=0)</td><td>A</td><td>dowolny</td><td>prąd początkowy, zgodnie ze strzałką
prądu</td></tr>
</table>
<p>W trybie transmitancji warunku początkowego nie ma; impedancja wynosi j·2πf·L.</p>
)html";

constexpr std::string_view kCapacitancePage = R"html(
<p>Kondensator liniowy: i = C·du/dt.</p>
<table border="1" cellpadding="3" cellspacing="0">
<tr><th>Parametr</th><th>Jednostka</th><th>Warunek</th><th>Znaczenie</th></tr>
<tr><td>C</td><td>F</td><td>C &gt; 0</td><td>pojemność, np. „4,7u”</td></tr>
<tr><td>U(t=0)</td><td>V</td><td>dowolny</td><td>napięcie początkowe, zgodnie ze strzałką
napięcia</td></tr>
</table>
<p>W trybie transmitancji warunku początkowego nie ma; impedancja wynosi 1/(j·2πf·C).</p>
)html";

constexpr std::string_view kVaristorPage = R"html(
<p>Rezystor nieliniowy o charakterystyce U = c·I<sup>ß</sup> (symetrycznej względem
zera). Dla ß &lt; 1 napięcie rośnie wolniej niż prąd – tak ogranicza przepięcia
warystor.</p>
<table border="1" cellpadding="3" cellspacing="0">
<tr><th>Parametr</th><th>Jednostka</th><th>Warunek</th><th>Znaczenie</th></tr>
<tr><td>c</td><td>–</td><td>c &gt; 0</td><td>napięcie przy prądzie 1 A [V]</td></tr>
<tr><td>ß</td><td>–</td><td>ß &gt; 0</td><td>wykładnik; ß = 1 daje rezystor R = c</td></tr>
</table>
)html";

constexpr std::string_view kNonlinearInductancePage = R"html(
<p>Cewka nieliniowa o charakterystyce strumienia skojarzonego Ψ = c·I<sup>ß</sup>.
Dla ß &lt; 1 cewka nasyca się: przy dużych prądach jej indukcyjność dynamiczna maleje.</p>
<table border="1" cellpadding="3" cellspacing="0">
<tr><th>Parametr</th><th>Jednostka</th><th>Warunek</th><th>Znaczenie</th></tr>
<tr><td>c</td><td>–</td><td>c &gt; 0</td><td>strumień przy prądzie 1 A [Wb]</td></tr>
<tr><td>ß</td><td>–</td><td>ß &gt; 0</td><td>wykładnik; ß = 1 daje cewkę L = c</td></tr>
<tr><td>I(t=0)</td><td>A</td><td>≥ 0</td><td>prąd początkowy</td></tr>
</table>
)html";

constexpr std::string_view kNonlinearCapacitancePage = R"html(
<p>Kondensator nieliniowy o charakterystyce ładunku Q = c·U<sup>ß</sup>.</p>
<table border="1" cellpadding="3" cellspacing="0">
<tr><th>Parametr</th><th>Jednostka</th><th>Warunek</th><th>Znaczenie</th></tr>
<tr><td>c</td><td>–</td><td>c &gt; 0</td><td>ładunek przy napięciu 1 V [C]</td></tr>
<tr><td>ß</td><td>–</td><td>ß &gt; 0</td><td>wykładnik; ß = 1 daje kondensator C = c</td></tr>
<tr><td>U(t=0)</td><td>V</td><td>≥ 0</td><td>napięcie początkowe</td></tr>
</table>
)html";

constexpr std::string_view kDiodePage = R"html(
<p>Dioda idealizowana odcinkowo liniowo: przewodzi, gdy napięcie anoda–katoda jest dodatnie
(spadek napięcia i·Rf), w przeciwnym razie przepuszcza tylko prąd upływu.</p>
<table border="1" cellpadding="3" cellspacing="0">
<tr><th>Parametr</th><th>Jednostka</th><th>Warunek</th><th>Znaczenie</th></tr>
<tr><td>Rf</td><td>Ω</td><td>Rf ≥ 0</td><td>rezystancja w stanie przewodzenia; 0 liczy się
jako 0,1 mΩ</td></tr>
<tr><td>Gd</td><td>S</td><td>Gd ≥ 0</td><td>konduktancja w stanie zaworowym; 0 liczy się
jako 1 µS</td></tr>
</table>
)html";

constexpr std::string_view kZenerPage = R"html(
<p>Dioda Zenera: w kierunku przewodzenia zachowuje się jak <a href="@#57">dioda</a>,
a w kierunku zaporowym przewodzi, gdy napięcie przekroczy Uz (napięcie Uz + i·Rf).</p>
<table border="1" cellpadding="3" cellspacing="0">
<tr><th>Parametr</th><th>Jednostka</th><th>Warunek</th><th>Znaczenie</th></tr>
<tr><td>Uz</td><td>V</td><td>Uz &gt; 0</td><td>napięcie Zenera</td></tr>
<tr><td>Rf</td><td>Ω</td><td>Rf ≥ 0</td><td>rezystancja w stanie przewodzenia</td></tr>
<tr><td>Gd</td><td>S</td><td>Gd ≥ 0</td><td>konduktancja w stanie zaworowym</td></tr>
</table>
)html";

constexpr std::string_view kScrPage = R"html(
<p>Tyrystor: załącza się impulsem bramkowym, gdy napięcie anoda–katoda jest dodatnie,
i wyłącza się sam, gdy jego prąd zmieni kierunek.</p>
<table border="1" cellpadding="3" cellspacing="0">
<tr><th>Parametr</th><th>Jednostka</th><th>Warunek</th><th>Znaczenie</th></tr>
<tr><td>Rt</td><td>Ω</td><td>Rt ≥ 0</td><td>rezystancja w stanie przewodzenia; 0 liczy się
jako 0,1 mΩ</td></tr>
<tr><td>Gd</td><td>S</td><td>Gd ≥ 0</td><td>konduktancja w stanie blokowania</td></tr>
<tr><td>f</td><td>Hz</td><td>f &gt; 0</td><td>częstotliwość sterowania</td></tr>
<tr><td>(fi)1..(fi)3</td><td>°</td><td>≥ 0</td><td>kąty załączenia w stopniach okresu 1/f;
używane są tylko kąty zaznaczone</td></tr>
</table>
<p>Przykład: f = 50 Hz i kąt 90° – tyrystor zapala się 5 ms po początku każdego okresu.</p>
)html";

constexpr std::string_view kRctPage = R"html(
<p>Tyrystor przewodzący wstecznie: <a href="@#59">tyrystor SCR</a> z diodą połączoną
przeciwsobnie. Prąd wsteczny płynie bez zapłonu; po jego zaniku tyrystor czeka na kolejny
kąt załączenia.</p>
<table border="1" cellpadding="3" cellspacing="0">
<tr><th>Parametr</th><th>Jednostka</th><th>Warunek</th><th>Znaczenie</th></tr>
<tr><td>Rt</td><td>Ω</td><td>Rt ≥ 0</td><td>rezystancja w stanie przewodzenia</td></tr>
<tr><td>Gd</td><td>S</td><td>Gd ≥ 0</td><td>konduktancja w stanie blokowania</td></tr>
<tr><td>f</td><td>Hz</td><td>f &gt; 0</td><td>częstotliwość sterowania</td></tr>
<tr><td>(fi)1..(fi)3</td><td>°</td><td>≥ 0</td><td>kąty załączenia (tylko zaznaczone)</td></tr>
</table>
)html";

constexpr std::string_view kGtoPage = R"html(
<p>Tyrystor wyłączalny: załącza się przy kącie (fi)on, jeśli jest spolaryzowany
w kierunku przewodzenia, i wyłącza przy kącie (fi)off nawet wtedy, gdy płynie prąd.</p>
<table border="1" cellpadding="3" cellspacing="0">
<tr><th>Parametr</th><th>Jednostka</th><th>Warunek</th><th>Znaczenie</th></tr>
<tr><td>Rt</td><td>Ω</td><td>Rt ≥ 0</td><td>rezystancja w stanie przewodzenia</td></tr>
<tr><td>Gd</td><td>S</td><td>Gd ≥ 0</td><td>konduktancja w stanie blokowania</td></tr>
<tr><td>f</td><td>Hz</td><td>f &gt; 0</td><td>częstotliwość sterowania</td></tr>
<tr><td>(fi)on</td><td>°</td><td>≥ 0</td><td>kąt załączenia</td></tr>
<tr><td>(fi)off</td><td>°</td><td>≥ 0</td><td>kąt wyłączenia</td></tr>
</table>
<p>Przykład: 30° i 150° przy 50 Hz – przewodzenie od 1,67 ms do 8,33 ms okresu.</p>
)html";

constexpr std::string_view kPowerTransistorPage = R"html(
<p>Tranzystor mocy jako łącznik: bramka jest włączona od kąta (fi)on do kąta (fi)off
każdego okresu 1/f; przy włączonej bramce tranzystor przewodzi jak dioda, przy wyłączonej
blokuje.</p>
<table border="1" cellpadding="3" cellspacing="0">
<tr><th>Parametr</th><th>Jednostka</th><th>Warunek</th><th>Znaczenie</th></tr>
<tr><td>Rt</td><td>Ω</td><td>Rt ≥ 0</td><td>rezystancja w stanie przewodzenia</td></tr>
<tr><td>Gd</td><td>S</td><td>Gd ≥ 0</td><td>konduktancja w stanie blokowania</td></tr>
<tr><td>f</td><td>Hz</td><td>f &gt; 0</td><td>częstotliwość przełączania</td></tr>
<tr><td>(fi)on</td><td>°</td><td>≥ 0</td><td>początek włączenia</td></tr>
<tr><td>(fi)off</td><td>°</td><td>≥ 0</td><td>koniec włączenia; może być mniejszy od (fi)on
– wtedy włączenie trwa przez koniec okresu</td></tr>
</table>
)html";

constexpr std::string_view kSwitchPage = R"html(
<p>Wyłącznik sterowany czasem: w stanie zamkniętym ma konduktancję 1 MS, w otwartym 1 nS.
W każdym zaznaczonym czasie przełączenia zmienia stan na przeciwny (raz w przebiegu
symulacji od chwili 0).</p>
<table border="1" cellpadding="3" cellspacing="0">
<tr><th>Parametr</th><th>Jednostka</th><th>Warunek</th><th>Znaczenie</th></tr>
<tr><td>Stan początkowy</td><td>–</td><td>–</td><td>otwarty albo zamknięty</td></tr>
<tr><td>Czas przełączenia (1)</td><td>s</td><td>≥ 0</td><td>pierwsza zmiana stanu</td></tr>
<tr><td>Czas przełączenia (2)</td><td>s</td><td>≥ 0</td><td>druga zmiana stanu</td></tr>
</table>
<p>Przykład: otwarty, czas (1) = 10m – obwód zamyka się po 10 ms.</p>
)html";

constexpr std::string_view kDcMotorPage = R"html(
<p>Obcowzbudny silnik prądu stałego: obwód twornika (Rt, Lt, siła elektromotoryczna
proporcjonalna do prędkości) i równanie ruchu J·dω/dt = M<sub>el</sub> − M<sub>obc</sub>.</p>
<table border="1" cellpadding="3" cellspacing="0">
<tr><th>Parametr</th><th>Jednostka</th><th>Warunek</th><th>Znaczenie</th></tr>
<tr><td>P, U, I, n</td><td>W, V, A, obr/min</td><td>&gt; 0</td><td>dane znamionowe</td></tr>
<tr><td>Rt, Lt</td><td>Ω, H</td><td>&gt; 0</td><td>rezystancja i indukcyjność twornika</td></tr>
<tr><td>J</td><td>kgm²</td><td>&gt; 0</td><td>moment bezwładności</td></tr>
<tr><td>a, b, c</td><td>–</td><td>≥ 0</td><td>moment obciążenia
M = a + b·n<sub>r</sub> + c·n<sub>r</sub>² [Nm], n<sub>r</sub> – prędkość względna</td></tr>
<tr><td>I(0), n(0)</td><td>A, obr/min</td><td>dowolne</td><td>warunki początkowe</td></tr>
<tr><td>f</td><td>%</td><td>dowolne</td><td>wzbudzenie w procentach znamionowego</td></tr>
</table>
<p>Obciążenie <b>czynne</b> działa zawsze w tym samym kierunku (np. dźwig), <b>bierne</b>
zawsze przeciw ruchowi (np. tarcie) i znika przy postoju.</p>
)html";

constexpr std::string_view kCoupledCoilsPage = R"html(
<p>Dwie cewki sprzężone magnetycznie, z indukcyjnością wzajemną
M = (M%/100)·√(L1·L2).</p>
<table border="1" cellpadding="3" cellspacing="0">
<tr><th>Parametr</th><th>Jednostka</th><th>Warunek</th><th>Znaczenie</th></tr>
<tr><td>L1, L2</td><td>H</td><td>&gt; 0</td><td>indukcyjności cewek I i II</td></tr>
<tr><td>I1(t=0), I2(t=0)</td><td>A</td><td>dowolne</td><td>prądy początkowe</td></tr>
<tr><td>M</td><td>%</td><td>0 &lt; M ≤ 100</td><td>współczynnik sprzężenia</td></tr>
</table>
<p>Przy 0 % cewki są niezależne, przy 100 % sprzężenie jest doskonałe.</p>
)html";

constexpr std::string_view kTransformerPage = R"html(
<p>Transformator jednofazowy opisany danymi z tabliczki znamionowej; program wyznacza z nich
schemat zastępczy (rezystancje i reaktancje rozproszenia uzwojeń, gałąź magnesowania).</p>
<table border="1" cellpadding="3" cellspacing="0">
<tr><th>Parametr</th><th>Jednostka</th><th>Warunek</th><th>Znaczenie</th></tr>
<tr><td>S</td><td>VA</td><td>&gt; 0</td><td>moc znamionowa</td></tr>
<tr><td>U1, U2</td><td>V</td><td>&gt; 0</td><td>napięcia znamionowe uzwojeń</td></tr>
<tr><td>f</td><td>Hz</td><td>&gt; 0</td><td>częstotliwość znamionowa</td></tr>
<tr><td>Uzr</td><td>%</td><td>0 &lt; Uzr &lt; 100</td><td>napięcie zwarcia</td></tr>
<tr><td>Ior</td><td>%</td><td>0 &lt; Ior &lt; 100</td><td>prąd stanu jałowego</td></tr>
<tr><td>Pun</td><td>W</td><td>0 ≤ Pun &lt; S</td><td>straty obciążeniowe (w miedzi)</td></tr>
<tr><td>Pfen</td><td>W</td><td>0 ≤ Pfen &lt; S</td><td>straty jałowe (w żelazie)</td></tr>
</table>
<p>Musi być spełniony warunek <b>Uzr/100 &gt; Pun/S</b>: napięcie zwarcia nie może być
mniejsze od spadku na samej rezystancji uzwojeń.</p>
)html";

constexpr std::string_view kBjtPage = R"html(
<p>Tranzystor bipolarny w układzie wspólnego emitera, opisany parametrami
mieszanymi h. Odcięty tranzystor prawie nie przewodzi.</p>
<table border="1" cellpadding="3" cellspacing="0">
<tr><th>Parametr</th><th>Jednostka</th><th>Warunek</th><th>Znaczenie</th></tr>
<tr><td>h11e</td><td>Ω</td><td>&gt; 0</td><td>rezystancja wejściowa</td></tr>
<tr><td>h12e</td><td>–</td><td>&gt; 0</td><td>współczynnik oddziaływania zwrotnego</td></tr>
<tr><td>h21e</td><td>–</td><td>&gt; 0</td><td>współczynnik wzmocnienia prądowego</td></tr>
<tr><td>h22e</td><td>S</td><td>&gt; 0</td><td>konduktancja wyjściowa</td></tr>
</table>
<p>Typ: npn (domyślnie) albo pnp.</p>
)html";

constexpr std::string_view kVoltmeterPage = R"html(
<p>Woltomierz mierzy napięcie między swoimi końcówkami; ma konduktancję 1 nS, więc prawie
nie obciąża obwodu. Ma tylko nazwę. Oferuje jeden przebieg: <b>U</b>(nazwa)
(w trybie transmitancji K(nazwa)).</p>
)html";

constexpr std::string_view kAmmeterPage = R"html(
<p>Amperomierz mierzy prąd płynący przez niego; ma konduktancję 1 MS, więc prawie nie
zmienia obwodu. Włącza się go szeregowo. Ma tylko nazwę. Oferuje jeden przebieg:
<b>I</b>(nazwa).</p>
)html";

constexpr std::string_view kWattmeterPage = R"html(
<p>Watomierz ma cewkę prądową (włączaną szeregowo) i cewkę napięciową (włączaną równolegle);
mierzy moc chwilową jako iloczyn ich wielkości. Ma tylko nazwę. Oferuje jeden przebieg:
<b>P</b>(nazwa).</p>
)html";

// The chapters of the element pages, one per family.
constexpr int kSourcesGroup = 13;
constexpr int kPassiveGroup = 14;
constexpr int kSwitchingGroup = 15;
constexpr int kMachinesGroup = 16;
constexpr int kMetersGroup = 17;

int chapterOf(model::Family family) {
  using F = model::Family;
  switch (family) {
    case F::Source: return kSourcesGroup;
    case F::Passive: return kPassiveGroup;
    case F::Semiconductor: return kSwitchingGroup;
    case F::Machine: return kMachinesGroup;
    case F::Meter: return kMetersGroup;
  }
  return kOverviewTopic;
}

// A kind's page: its number and title are those of the kind's dialog.
HelpTopic kindTopic(model::ElementKind kind, std::string_view page) {
  const model::KindInfo& info = model::kindInfo(kind);
  return {info.helpTopic, info.caption, chapterOf(info.family), page};
}

using K = model::ElementKind;
// Built when the program starts, from the table of kinds.
const HelpTopic kTopics[] = {
    {kOverviewTopic, "Wolterix – wprowadzenie", 0, kOverviewPage},
    {kEditorTopic, "Rysowanie schematu", kOverviewTopic, kEditorPage},
    {kPrintTopic, "Drukuj", kOverviewTopic, kPrintPage},
    {kNumbersTopic, "Liczby inżynierskie", kOverviewTopic, kNumbersPage},
    {kFileFormatTopic, "Format pliku .wtx", kOverviewTopic, kFileFormatPage},
    {kCommandLineTopic, "Program wolterix-cli", kOverviewTopic, kCommandLinePage},
    {10, "Analizy i wyniki", 0, kAnalysesGroupPage},
    {kAnalysesTopic, "Metody obliczeń", 10, kAnalysesPage},
    {kSimulationTopic, "Symulacja", 10, kSimulationPage},
    {kTransferTopic, "Transmitancja", 10, kTransferPage},
    {kWaveformsTopic, "Przebiegi", 10, kWaveformsPage},
    {kPlotsTopic, "Wykresy", 10, kPlotsPage},
    {kHarmonicsTopic, "Harmoniczne", kPlotsTopic, kHarmonicsPage},
    {11, "Pomiar", 0, kMeasurementGroupPage},
    {kMeasurementPanelTopic, "Panel pomiarowy", 11, kMeasurementPanelPage},
    {kMeasurementTopic, "Pomiar (Real-Time)", 11, kMeasurementPage},
    {kMeterOptionsTopic, "Opcje miernika", 11, kMeterOptionsPage},
    {12, "Elementy", 0, kElementsGroupPage},
    {kSourcesGroup, "Źródła", 12, kSourcesGroupPage},
    kindTopic(K::Nap, kVoltageSourcePage),
    kindTopic(K::Prd, kCurrentSourcePage),
    kindTopic(K::zsN, kControlledVoltagePage),
    kindTopic(K::zsP, kControlledCurrentPage),
    kindTopic(K::nWe, kInputVoltagePage),
    {kPassiveGroup, "Elementy bierne", 12, kPassiveGroupPage},
    kindTopic(K::Rez, kResistancePage),
    kindTopic(K::Ind, kInductancePage),
    kindTopic(K::Poj, kCapacitancePage),
    kindTopic(K::War, kVaristorPage),
    kindTopic(K::nlL, kNonlinearInductancePage),
    kindTopic(K::nlC, kNonlinearCapacitancePage),
    {kSwitchingGroup, "Półprzewodniki i łączniki", 12, kSwitchingGroupPage},
    kindTopic(K::Dio, kDiodePage),
    kindTopic(K::Zen, kZenerPage),
    kindTopic(K::Tyr, kScrPage),
    kindTopic(K::RCT, kRctPage),
    kindTopic(K::GTO, kGtoPage),
    kindTopic(K::TrM, kPowerTransistorPage),
    kindTopic(K::BJT, kBjtPage),
    kindTopic(K::wyl, kSwitchPage),
    {kMachinesGroup, "Maszyny i elementy magnetyczne", 12, kMachinesGroupPage},
    kindTopic(K::sDC, kDcMotorPage),
    kindTopic(K::Spr, kCoupledCoilsPage),
    kindTopic(K::Tf1, kTransformerPage),
    {kMetersGroup, "Mierniki", 12, kMetersGroupPage},
    kindTopic(K::mmV, kVoltmeterPage),
    kindTopic(K::mmA, kAmmeterPage),
    kindTopic(K::mmW, kWattmeterPage),
    {kQuestionsTopic, "Pytania i odpowiedzi", 0, kQuestionsPage},
};

constexpr std::string_view kRequestPrefix = "@#";

}  // namespace

std::span<const HelpTopic> allTopics() { return kTopics; }

const HelpTopic* findTopic(int number) {
  const auto* it = std::find_if(std::begin(kTopics), std::end(kTopics),
                                [number](const HelpTopic& t) { return t.number == number; });
  return it == std::end(kTopics) ? nullptr : it;
}

std::optional<int> parseTopicRequest(std::string_view request) {
  if (!request.starts_with(kRequestPrefix)) return std::nullopt;
  const std::string_view digits = request.substr(kRequestPrefix.size());
  // from_chars alone would take a leading minus and stop silently at trailing junk.
  if (digits.empty() ||
      !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  int number = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (error != std::errc{} || end != digits.data() + digits.size()) return std::nullopt;
  return number;
}

const HelpTopic* resolveTopicRequest(std::string_view request) {
  const std::optional<int> number = parseTopicRequest(request);
  return number ? findTopic(*number) : nullptr;
}

std::string topicRequest(int number) {
  return std::string(kRequestPrefix) + std::to_string(number);
}

int topicOfKind(model::ElementKind kind) { return model::kindInfo(kind).helpTopic; }

}  // namespace wolterix::help
