-- Schema of the piecework timesheet and of the shared tables it reads.
-- Run on an empty database: psql -v ON_ERROR_STOP=1 -f db/schema.sql
-- The client never creates or alters tables; everything it relies on is here.

\set ON_ERROR_STOP 1
set client_min_messages = warning;

begin;

create schema accounts_dep;
create schema cmn_contractor;
create schema cmn_classifier;
create schema cmn_gds_and_srv;
create schema hrms_staffpos;
create schema cmn_department;
create schema adm_role;

-- Types named in the client's statements ("s_code::t_id", "::t_money").
-- They live in public so that the statements find them unqualified.
create domain public.t_id as integer;
create domain public.t_integer as integer;
create domain public.t_money as numeric(15, 2);

-- Nomenclature groups: level-2 rows of the shared classifier.  A row inserted
-- with only a caption and the excluded flag becomes a group.
create table cmn_classifier.item (
    id              serial primary key,
    id_classifier   numeric(15, 0) not null default 1,
    id_level        integer not null default 2,
    s_code          varchar(50),
    s_caption       varchar(254),
    s_description   varchar(254),
    d_excluded_date date,
    id_parent       integer,
    b_excluded      integer not null default 0
);

-- Shared goods.  Products of the timesheet are the rows with id_msm_bs 6.
-- Ids start high so that they never meet the reserved product ids.
create table cmn_gds_and_srv.gds_and_srv (
    id            serial primary key,
    s_caption     varchar(254),
    s_description varchar(254),
    id_msm_bs     integer,
    massa         numeric(28, 6),
    id_class_item numeric(15, 0)
);
alter sequence cmn_gds_and_srv.gds_and_srv_id_seq restart with 100000;

-- Shared person book.  Display names of workers come from here.  A worker's
-- shared row carries the worker's id both as its id and as its code, so the
-- statements find it by either; s_code must always convert to a number (the
-- journal casts it) and at most one row may claim a worker.
create table cmn_contractor.person (
    id        serial primary key,
    s_caption varchar(254),
    s_code    varchar(50) unique check (s_code ~ '^[0-9]+$')
);
-- Rows of other software draw ids from 1,000,000 up, where worker ids never
-- reach (see accounts_dep.person), so such a row never meets a worker.
alter sequence cmn_contractor.person_id_seq restart with 1000000;
-- The journal and the timesheets find a worker by his code as a number
-- ("s_code::integer", also spelt "s_code::t_id"); without this every journal
-- row of a day is compared with every person.
create index person_s_code_integer on cmn_contractor.person ((s_code::integer));

create table hrms_staffpos.staffpos (
    id            serial primary key,
    id_department integer,
    s_code        varchar(50),
    s_caption     varchar(254),
    d_begin       date,
    d_end         date,
    s_description varchar(254)
);

create table cmn_department.department (
    id            serial primary key,
    id_branch     integer,
    s_code        varchar(50),
    s_caption     varchar(254),
    s_description varchar(254),
    id_parent     integer
);

create table adm_role.roles (
    id        serial primary key,
    s_name    varchar(100),
    s_caption varchar(254),
    d_begin   date,
    d_end     date,
    b_active  integer default 1
);

-- Worker book of the timesheet.
create table accounts_dep.person (
    id            serial primary key,
    fio           varchar(254),
    s_staffpos_hl varchar(254),
    constraint person_id_below_shared check (id between 1 and 999999)
);
alter sequence accounts_dep.person_id_seq maxvalue 999999;

-- Every worker has a shared person row (its own file, so that an existing
-- database can be given it again).
\ir person_to_contractor.sql

create trigger person_to_contractor after insert or update on accounts_dep.person
    for each row execute function accounts_dep.person_to_contractor();

-- Products as the timesheet reads them: the goods with their group's name.
create view accounts_dep.izdel as
select g.id,
       g.s_caption::varchar(254) as marka,
       i.s_caption::varchar(255) as nom,
       g.massa,
       g.id_class_item,
       g.id_class_item as id_nom
  from cmn_gds_and_srv.gds_and_srv g
  left join cmn_classifier.item i on i.id = g.id_class_item
 where g.id_msm_bs = 6;

-- Writing products through izdel (the legacy import does): its own file, so
-- that an existing database can be given it again.
\ir izdel_write.sql

-- Operation kinds and operations.  Ordinary ids stay below the reserved range
-- (7776 and up), so their sequences end at 7775.
create table accounts_dep.vid_oper (
    id  serial primary key,
    vid varchar(50)
);
alter sequence accounts_dep.vid_oper_id_seq maxvalue 7775;

create table accounts_dep.oper (
    id       serial primary key,
    vid      integer,
    naimen   smallint not null default 0,
    i_id     integer,
    cena_new numeric(15, 2) default 0,
    cena     double precision
);
alter sequence accounts_dep.oper_id_seq maxvalue 7775;

create table accounts_dep.norm (
    id    serial primary key,
    o_id  integer,
    norma integer,
    price numeric(15, 4),
    prize integer default 0
);
create index norm_o_id on accounts_dep.norm (o_id);

-- Daily shift journal.  Money is kept exact.
create table accounts_dep.smena (
    id            serial primary key,
    w_id          integer,
    i_id          integer,
    o_id          integer,
    cena          numeric(15, 4),
    kol_vo        integer,
    brak          smallint,
    data          date,
    smena         smallint,
    color         integer default 0,
    time          integer,
    ok            varchar(2),
    vvod          timestamp,
    prize         numeric(15, 4) default 0,
    id_doc        numeric(15, 0) default 0,
    id_doc_item   numeric(15, 0) default 0,
    id_gds_use    numeric(15, 0) default 0,
    id_cons_use   numeric(15, 0) default 0,
    f_gds_qty_use numeric(15, 4) default 0
);
create index smena_data_smena on accounts_dep.smena (data, smena);
create index smena_w_id_data on accounts_dep.smena (w_id, data);
create index smena_i_id on accounts_dep.smena (i_id);

-- Monthly hours timesheet: shift rows (smena 1..4) and household rows
-- (smena 0, keyed by kind, night flag and group).
create table accounts_dep.h_tabel (
    id     serial primary key,
    w_id   integer not null,
    month  integer not null,
    year   integer not null,
    smena  integer not null default 0,
    i_type integer not null default 0,
    i_night integer not null default 0,
    id_nom numeric(15, 0) not null default 0,
    d1 integer, d2 integer, d3 integer, d4 integer, d5 integer, d6 integer,
    d7 integer, d8 integer, d9 integer, d10 integer, d11 integer, d12 integer,
    d13 integer, d14 integer, d15 integer, d16 integer, d17 integer, d18 integer,
    d19 integer, d20 integer, d21 integer, d22 integer, d23 integer, d24 integer,
    d25 integer, d26 integer, d27 integer, d28 integer, d29 integer, d30 integer,
    d31 integer
);
create index h_tabel_year_month_w_id on accounts_dep.h_tabel (year, month, w_id);

-- Household records: time-paid works and average-piecework days.
create table accounts_dep.fatigue (
    id        serial primary key,
    id_p      numeric(15, 0),
    id_o      numeric(15, 0),
    id_nom    numeric(15, 0),
    d_date    date,
    i_mnth    integer,
    i_year    integer,
    i_smena   integer default 1,
    cnt       integer,
    price     numeric(15, 4),
    i_holiday integer default 0,
    i_night   integer default 0
);
create index fatigue_d_date_id_p on accounts_dep.fatigue (d_date, id_p);

-- Scratch lists of the distribution window and of the auxiliary workers.
create table accounts_dep.painting_temp (
    id      serial primary key,
    id_p    numeric(15, 0),
    id_w    integer,
    v_id    integer default 0,
    f_count numeric(15, 2),
    f_time  numeric(28, 6),
    color   integer default 0
);

create table accounts_dep.person_temp (
    id        serial primary key,
    id_smena  integer,
    id_person integer,
    f_count   numeric(15, 2),
    f_time    numeric(28, 6),
    type      integer default 1
);
create index person_temp_id_smena on accounts_dep.person_temp (id_smena);

-- Newest client build started here, and the decimal separator for SQL text.
create table accounts_dep.ver (
    d     integer,
    t     integer,
    delim varchar(255)
);

-- Targets of the legacy import.
create table accounts_dep.workers (
    id   serial primary key,
    fio  varchar(254),
    addr varchar(254)
);

create table accounts_dep.nomenkl (
    id    serial primary key,
    marka varchar(128),
    nom   varchar(512)
);

-- Earnings lines of the payroll timesheet by worker, group and day.
create view accounts_dep.v_nom_f as
select f.id_p, f.id_nom, round(f.cnt * f.price, 2)::numeric(15, 2) as f_sum, f.d_date
  from accounts_dep.fatigue f;

create view accounts_dep.v_nom_s as
select s.w_id::numeric(15, 0) as id_p, i.id_nom,
       round((s.kol_vo - s.brak) * s.cena, 2)::numeric(15, 2) as f_sum, s.data as d_date
  from accounts_dep.smena s
  join accounts_dep.izdel i on i.id = s.i_id;

\ir reserved.sql

commit;
