// Writes the project templates installed with Merovan: the reference project
// that New starts from, and the example projects, in English in FOLDER and in
// French in FOLDER/fr. They are written with the program's own writer, so they
// always read back.
//
//   merovan-make-templates FOLDER
#include "model/UntClassProject.h"
#include "storage/UntIO.h"
#include "storage/UntRtf.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <cstdio>
#include <initializer_list>

namespace {

// A comment in a light markup: "*bold*", "_italic_", paragraphs on lines.
QStringList Comment(const char* markup) {
    TRtfDocument document;
    for (const QString& line : QString::fromUtf8(markup).split(QLatin1Char('\n'))) {
        TRtfParagraph& paragraph = document.emplace_back();
        TRtfRun run;
        for (const QChar c : line) {
            if (c == QLatin1Char('*') || c == QLatin1Char('_')) {
                if (!run.Text.isEmpty())
                    paragraph.push_back(run);
                run.Text.clear();
                (c == QLatin1Char('*') ? run.Bold : run.Italic) ^= true;
            } else {
                run.Text += c;
            }
        }
        if (!run.Text.isEmpty())
            paragraph.push_back(run);
    }
    return WriteRtf(document);
}

struct Factor {
    const char* Name;
    int Type;
    int Mark;
    const char* Comments;
};

struct Conclusion {
    const char* Name;
    std::initializer_list<std::pair<int, int>> Couples;
    const char* Comments;
};

TProject Example(const char* title, const char* comments, std::initializer_list<Factor> factors,
                 std::initializer_list<Conclusion> conclusions) {
    TProject project;
    project.Title = QString::fromUtf8(title);
    project.Comments = Comment(comments);
    for (const Factor& factor : factors) {
        auto item = std::make_unique<TTOWSItem>();
        item->Name = QString::fromUtf8(factor.Name);
        item->SwotType = factor.Type;
        item->Mark = factor.Mark;
        if (*factor.Comments)
            item->Comments = Comment(factor.Comments);
        project.Items.push_back(std::move(item));
    }
    for (const Conclusion& conclusion : conclusions) {
        auto guideline = std::make_unique<TGuideline>();
        guideline->Name = QString::fromUtf8(conclusion.Name);
        guideline->Comments = Comment(conclusion.Comments);
        for (const auto& [internal, external] : conclusion.Couples)
            guideline->AddCouple(internal, external);
        project.Guidelines.push_back(std::move(guideline));
    }
    return project;
}

TProject Bakery() {
    return Example(
        "Maison Fournier – online sales",
        "Maison Fournier is a *family bakery* with one shop and its own bakehouse.\n"
        "The question: should we sell online, and how, _without losing what makes us "
        "different_?",
        {
            // 0 .. 3: strengths
            {"Recipes handed down over three generations", stStrength, 3,
             "Our sourdough and _brioche_ are known across the district.\n"
             "Customers come *from the neighbouring towns* on Saturdays."},
            {"Loyal neighbourhood customers", stStrength, 3,
             "About *400 regular customers*, many of whom come in every day."},
            {"Own bakehouse with spare oven capacity", stStrength, 2,
             "The second oven stands idle _after 11 a.m._: it could bake for orders "
             "without any new investment."},
            {"Skilled, versatile staff", stStrength, 2,
             "Five bakers and sellers who can each cover the shop *and* the bakehouse."},
            // 4 .. 7: weaknesses
            {"No online presence", stWeakness, 3,
             "No website and no way to order; the only listing is an _outdated_ map entry."},
            {"Short shelf life of fresh bread", stWeakness, 3,
             "Bread must be sold *the same day*: shipping beyond the region is out of the "
             "question."},
            {"Tight cash position", stWeakness, 2,
             "The bank overdraft is used _every winter_; no large outlay is possible."},
            {"Owner keeps the books alone", stWeakness, 1,
             "Pricing and ordering decisions wait for the owner's evenings."},
            // 8 .. 11: opportunities
            {"Growing demand for click-and-collect", stOpportunity, 3,
             "Local shops that take orders in advance report *15 to 25 %* more weekday sales."},
            {"Offices opening in the new business park", stOpportunity, 2,
             "Three companies, _about 600 employees_, two kilometres away, and no bakery "
             "nearby."},
            {"Interest in local, artisanal food", stOpportunity, 3,
             "The Saturday market now draws *twice* the visitors it did five years ago."},
            {"Delivery platforms looking for partners", stOpportunity, 1,
             "Two platforms have approached us this year."},
            // 12 .. 15: threats
            {"Supermarket bakery opening nearby", stThreat, 3,
             "Opening announced for _next spring_, with prices *30 % below ours*."},
            {"Rising flour and energy prices", stThreat, 3,
             "Flour is up 18 % in a year; the ovens are our largest energy cost."},
            {"Platform commissions of 25 to 30 %", stThreat, 2,
             "At these rates a delivered loaf earns us _nothing_."},
            {"Staff shortage in the trade", stThreat, 2,
             "Two apprentices left for industry last year."},
        },
        {
            {"Open a click-and-collect ordering page",
             {{0, 8}, {1, 8}, {4, 8}},
             "A simple page with *tomorrow's bread list*; orders before 6 p.m., collection "
             "from 7 a.m.\nStart with the regular customers and _ask them for feedback_."},
            {"Deliver breakfast baskets to the business park",
             {{2, 9}, {3, 9}, {5, 9}},
             "Use the idle oven in the late morning; deliver *ourselves*, baked the same day."},
            {"Keep deliveries in-house rather than through platforms",
             {{2, 14}, {6, 14}, {3, 15}},
             "Platforms eat the margin; our own round costs less _once there are 40 orders a "
             "day_."},
            {"Tell the story of our recipes against the supermarket",
             {{0, 12}, {0, 10}, {4, 12}},
             "What the supermarket cannot copy: *three generations of know-how*, told in the "
             "shop and online."},
            {"Secure a yearly contract with a local mill",
             {{6, 13}, {1, 13}},
             "Fixes the flour price for a year; loyal customers accept a _modest_ rise."},
        });
}

TProject Library() {
    return Example(
        "Harwick town library – renewal plan",
        "The council asks the library for a *five-year renewal plan*.\n"
        "This analysis prepares the proposal to the culture committee in _September_.",
        {
            // 0 .. 3: strengths
            {"Central location on the market square", stStrength, 3,
             "Every bus line stops _within 200 metres_; footfall is high on market days."},
            {"Committed volunteer network", stStrength, 2,
             "*32 volunteers* give about 90 hours a week between them."},
            {"Strong children's programme", stStrength, 3,
             "Story hours are fully booked; the summer reading challenge had *410 children*."},
            {"Listed heritage building", stStrength, 2,
             "A landmark the town is proud of, _and_ a draw for visitors."},
            // 4 .. 7: weaknesses
            {"Outdated computers and slow Wi-Fi", stWeakness, 3,
             "The public computers are *nine years old*; users queue and then give up."},
            {"Opening hours end at 5 p.m.", stWeakness, 3,
             "Working people and students _cannot come_ on weekdays."},
            {"Little space for group work", stWeakness, 2, "One meeting room, booked weeks ahead."},
            {"Catalogue not searchable online", stWeakness, 2,
             "Readers must call or come in to know whether a book is available."},
            // 8 .. 11: opportunities
            {"Regional digital-inclusion grant", stOpportunity, 3,
             "Up to *£60,000* for public digital access; applications close _in March_."},
            {"University students moving into town", stOpportunity, 2,
             "The new campus brings about 1,500 students who need *quiet study space*."},
            {"Schools seeking reading partnerships", stOpportunity, 3,
             "Four primary schools want regular class visits and _reading mentors_."},
            {"Local makers' association", stOpportunity, 1,
             "Offers workshops (3D printing, repair café) if it gets a room."},
            // 12 .. 15: threats
            {"Council budget cuts", stThreat, 3,
             "A *10 % cut* is proposed for every cultural service next year."},
            {"Falling adult membership", stThreat, 2,
             "Adult loans are down _a third_ in five years."},
            {"Competition from e-book subscriptions", stThreat, 2,
             "Cheap subscriptions replace borrowing for many regular readers."},
            {"Rising maintenance costs of the building", stThreat, 3,
             "The roof needs repair within *two years*."},
        },
        {
            {"Apply for the digital-inclusion grant to renew the public computers",
             {{4, 8}, {0, 8}, {7, 8}},
             "New computers, fast Wi-Fi *and* an online catalogue in one application.\n"
             "The central location makes the case for _public_ access."},
            {"Open late on Thursdays with student volunteers",
             {{5, 9}, {1, 9}, {6, 9}},
             "A trial of *Thursday evenings until 9 p.m.*, staffed with volunteers and "
             "student helpers."},
            {"Turn the children's programme into school partnerships",
             {{2, 10}, {2, 13}, {1, 10}},
             "Class visits build the _next generation_ of members and show the council our "
             "reach."},
            {"Share the meeting room with the makers' association",
             {{6, 11}, {3, 11}},
             "Evening workshops bring new audiences _without_ new space."},
            {"Make the case to the council with usage figures",
             {{0, 12}, {2, 12}, {3, 15}, {7, 14}},
             "Footfall, children reached, heritage visits: *figures the committee can "
             "weigh* against the cut."},
        });
}

// The French examples follow the English ones factor for factor and coupling
// for coupling; only the wording, and what a French reader expects (town,
// currency, hours), changes.
TProject BakeryFr() {
    return Example(
        "Maison Fournier – vente en ligne",
        "La Maison Fournier est une *boulangerie familiale* avec une boutique et son propre "
        "fournil.\n"
        "La question : faut-il vendre en ligne, et comment, _sans perdre ce qui nous "
        "distingue_ ?",
        {
            // 0 .. 3: strengths
            {"Des recettes transmises depuis trois générations", stStrength, 3,
             "Notre pain au levain et notre _brioche_ sont réputés dans tout le quartier.\n"
             "Le samedi, des clients viennent *des communes voisines*."},
            {"Clientèle fidèle du quartier", stStrength, 3,
             "Environ *400 clients réguliers*, dont beaucoup passent chaque jour."},
            {"Un fournil à nous, avec un four disponible", stStrength, 2,
             "Le second four ne sert plus _après 11 h_ : il pourrait cuire pour les commandes "
             "sans aucun nouvel investissement."},
            {"Une équipe qualifiée et polyvalente", stStrength, 2,
             "Cinq boulangers et vendeurs qui savent chacun tenir la boutique *et* le fournil."},
            // 4 .. 7: weaknesses
            {"Aucune présence en ligne", stWeakness, 3,
             "Ni site web ni moyen de commander ; notre seule fiche sur un plan en ligne est "
             "_périmée_."},
            {"Le pain frais se garde peu", stWeakness, 3,
             "Le pain doit être vendu *le jour même* : pas question de l’expédier hors de la "
             "région."},
            {"Trésorerie tendue", stWeakness, 2,
             "Le découvert bancaire sert _chaque hiver_ ; aucune grosse dépense n’est possible."},
            {"Le patron tient seul les comptes", stWeakness, 1,
             "Les décisions de prix et de commandes attendent les soirées du patron."},
            // 8 .. 11: opportunities
            {"Demande croissante de commande avec retrait en boutique", stOpportunity, 3,
             "Les commerces du quartier qui prennent les commandes à l’avance annoncent *15 à "
             "25 %* de ventes en plus en semaine."},
            {"Des bureaux s’installent dans la nouvelle zone d’activités", stOpportunity, 2,
             "Trois entreprises, _environ 600 salariés_, à deux kilomètres, et aucune boulangerie "
             "à proximité."},
            {"Goût croissant pour les produits locaux et artisanaux", stOpportunity, 3,
             "Le marché du samedi attire *deux fois* plus de visiteurs qu’il y a cinq ans."},
            {"Des plateformes de livraison cherchent des partenaires", stOpportunity, 1,
             "Deux plateformes nous ont contactés cette année."},
            // 12 .. 15: threats
            {"Une boulangerie de supermarché ouvre à proximité", stThreat, 3,
             "Ouverture annoncée pour _le printemps prochain_, avec des prix *30 % inférieurs "
             "aux nôtres*."},
            {"Hausse des prix de la farine et de l’énergie", stThreat, 3,
             "La farine a pris 18 % en un an ; les fours sont notre premier poste d’énergie."},
            {"Commissions des plateformes de 25 à 30 %", stThreat, 2,
             "À ces taux, un pain livré ne nous rapporte _rien_."},
            {"Pénurie de main-d’œuvre dans le métier", stThreat, 2,
             "Deux apprentis sont partis dans l’industrie l’an dernier."},
        },
        {
            {"Ouvrir une page de commande avec retrait en boutique",
             {{0, 8}, {1, 8}, {4, 8}},
             "Une page simple avec *la liste des pains du lendemain* ; commandes avant 18 h, "
             "retrait dès 7 h.\nCommencer par les clients réguliers et _leur demander leur "
             "avis_."},
            {"Livrer des paniers petit-déjeuner à la zone d’activités",
             {{2, 9}, {3, 9}, {5, 9}},
             "Profiter du four libre en fin de matinée ; livrer *nous-mêmes*, du pain cuit le "
             "jour même."},
            {"Livrer nous-mêmes plutôt que par les plateformes",
             {{2, 14}, {6, 14}, {3, 15}},
             "Les plateformes mangent la marge ; notre propre tournée coûte moins cher _dès 40 "
             "commandes par jour_."},
            {"Raconter l’histoire de nos recettes face au supermarché",
             {{0, 12}, {0, 10}, {4, 12}},
             "Ce que le supermarché ne peut pas copier : *trois générations de savoir-faire*, "
             "racontées en boutique et en ligne."},
            {"Signer un contrat annuel avec un moulin local",
             {{6, 13}, {1, 13}},
             "Le prix de la farine est fixé pour un an ; les clients fidèles acceptent une hausse "
             "_modeste_."},
        });
}

TProject LibraryFr() {
    return Example(
        "Bibliothèque municipale de Valmont – plan de rénovation",
        "La mairie demande à la bibliothèque un *plan de rénovation sur cinq ans*.\n"
        "Cette analyse prépare la proposition à la commission culture de _septembre_.",
        {
            // 0 .. 3: strengths
            {"Emplacement central sur la place du marché", stStrength, 3,
             "Toutes les lignes de bus s’arrêtent _à moins de 200 mètres_ ; la fréquentation est "
             "forte les jours de marché."},
            {"Un réseau de bénévoles engagés", stStrength, 2,
             "*32 bénévoles* donnent ensemble environ 90 heures par semaine."},
            {"Des animations jeunesse très suivies", stStrength, 3,
             "L’heure du conte affiche complet ; le défi lecture de l’été a réuni *410 enfants*."},
            {"Un bâtiment classé monument historique", stStrength, 2,
             "Un monument dont la ville est fière, _et_ un attrait pour les visiteurs."},
            // 4 .. 7: weaknesses
            {"Ordinateurs dépassés et Wi-Fi lent", stWeakness, 3,
             "Les ordinateurs publics ont *neuf ans* ; les usagers font la queue, puis "
             "renoncent."},
            {"Fermeture à 17 h", stWeakness, 3,
             "Les actifs et les étudiants _ne peuvent pas venir_ en semaine."},
            {"Peu de place pour le travail en groupe", stWeakness, 2,
             "Une seule salle de réunion, réservée des semaines à l’avance."},
            {"Catalogue non consultable en ligne", stWeakness, 2,
             "Les lecteurs doivent appeler ou se déplacer pour savoir si un livre est "
             "disponible."},
            // 8 .. 11: opportunities
            {"Subvention régionale pour l’inclusion numérique", stOpportunity, 3,
             "Jusqu’à *60 000 €* pour l’accès public au numérique ; clôture des candidatures _en "
             "mars_."},
            {"Des étudiants s’installent en ville", stOpportunity, 2,
             "Le nouveau campus amène environ 1 500 étudiants qui ont besoin d’*espaces calmes "
             "pour travailler*."},
            {"Des écoles cherchent des partenariats autour de la lecture", stOpportunity, 3,
             "Quatre écoles primaires souhaitent des visites de classe régulières et des "
             "_tuteurs de lecture_."},
            {"Le fab lab associatif de la ville", stOpportunity, 1,
             "Il propose des ateliers (impression 3D, repair café) s’il obtient une salle."},
            // 12 .. 15: threats
            {"Baisse du budget municipal", stThreat, 3,
             "Une *baisse de 10 %* est proposée pour chaque service culturel l’an prochain."},
            {"Recul des inscriptions adultes", stThreat, 2,
             "Les prêts aux adultes ont baissé _d’un tiers_ en cinq ans."},
            {"Concurrence des abonnements de livres numériques", stThreat, 2,
             "Pour beaucoup de lecteurs réguliers, un abonnement bon marché remplace l’emprunt."},
            {"Hausse des frais d’entretien du bâtiment", stThreat, 3,
             "La toiture doit être refaite d’ici *deux ans*."},
        },
        {
            {"Demander la subvention d’inclusion numérique pour renouveler les ordinateurs",
             {{4, 8}, {0, 8}, {7, 8}},
             "De nouveaux ordinateurs, un Wi-Fi rapide *et* un catalogue en ligne dans un seul "
             "dossier.\nL’emplacement central plaide pour un accès _public_."},
            {"Ouvrir tard le jeudi avec des étudiants bénévoles",
             {{5, 9}, {1, 9}, {6, 9}},
             "Un essai d’*ouverture le jeudi soir jusqu’à 21 h*, assurée par des bénévoles et "
             "des étudiants."},
            {"Prolonger les animations jeunesse par des partenariats avec les écoles",
             {{2, 10}, {2, 13}, {1, 10}},
             "Les visites de classe forment la _prochaine génération_ d’inscrits et montrent à "
             "la mairie notre rayonnement."},
            {"Partager la salle de réunion avec le fab lab",
             {{6, 11}, {3, 11}},
             "Des ateliers en soirée attirent de nouveaux publics _sans_ nouvel espace."},
            {"Convaincre la mairie, chiffres de fréquentation à l’appui",
             {{0, 12}, {2, 12}, {3, 15}, {7, 14}},
             "Fréquentation, enfants touchés, visites du monument : *des chiffres que la "
             "commission peut mettre en balance* avec la baisse."},
        });
}

bool Write(const TProject& project, const QString& path) {
    try {
        WriteProject(project, path);
    } catch (const EMerovanError& error) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(path), error.what());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: merovan-make-templates FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    // A project takes its default headings from the string table of the
    // language in force when it is made, whatever the machine's own.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    const bool english =
        Write(TProject(), folder.filePath(QStringLiteral("reference.swot"))) &&
        Write(Bakery(), folder.filePath(QStringLiteral("Family bakery - online sales.swot"))) &&
        Write(Library(), folder.filePath(QStringLiteral("Town library - renewal.swot")));
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    const QDir french(folder.filePath(QStringLiteral("fr")));
    const bool written =
        english && folder.mkpath(QStringLiteral("fr")) &&
        Write(TProject(), french.filePath(QStringLiteral("reference.swot"))) &&
        Write(BakeryFr(),
              french.filePath(QStringLiteral("Boulangerie familiale - vente en ligne.swot"))) &&
        Write(LibraryFr(),
              french.filePath(QStringLiteral("Bibliothèque municipale - rénovation.swot")));
    return written ? 0 : 1;
}
